// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTLayer.hpp"

namespace quorvel {

// Holds the label (or title) layers of every axis; the axes place them, so the group's own
// layout leaves them alone.
class CPTAxisLabelGroup : public CPTLayer {
public:
    using CPTLayer::CPTLayer;
    void layoutSublayers() override {}  // the axes place their labels themselves
    bool drawsContent() const override { return false; }
};

}  // namespace quorvel
