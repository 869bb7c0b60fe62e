// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include "model/DeltaTrafficItem.hpp"

namespace quorvel {

// What one update changed among the places: the map applies it, or rebuilds all its markers.
struct TCResult {
    std::shared_ptr<DeltaTrafficItem> pDAdded;
    std::shared_ptr<DeltaTrafficItem> pDChanged;
    std::shared_ptr<DeltaTrafficItem> pDRemoved;
    bool bUpdateAllAnnotations = false;
    bool bMonthChanged = false;

    void setBMonthChanged(bool v) { bMonthChanged = v; }
};

}  // namespace quorvel
