// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Places and usage summaries made by hand, for the map's tests with and without a display.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/DeltaTrafficItem.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/TCResult.hpp"

namespace quorvel::maptest {

using Deltas = std::vector<std::shared_ptr<DeltaTrafficItem>>;

// A place used `bytes` at `lat`, `lon`, last active on the given day of 2024.
inline std::shared_ptr<DeltaTrafficItem> place(double lat, double lon, std::int64_t bytes, int month = 3, int day = 5)
{
    auto d = std::make_shared<DeltaTrafficItem>();
    d->pLocation = Location{lat, lon, 10.0, Date{}};
    d->pDelta = bytes;
    d->pDateComp = DateComponents{2024, month, day, 14, 0, 0};
    return d;
}

inline std::shared_ptr<FTrafficDataInformation> summary(Deltas deltas, std::optional<TCResult> change = std::nullopt)
{
    auto s = std::make_shared<FTrafficDataInformation>();
    s->setLists(std::move(deltas), std::nullopt);
    if (change) {
        s->setResults(*change, std::nullopt);
    }
    return s;
}

// The five places of the demonstration state, around Berlin.
inline Deltas berlin()
{
    return {place(52.5200, 13.4050, 1'450'000'000, 3, 14), place(52.5163, 13.3777, 320'000'000, 3, 14),
            place(52.5306, 13.3847, 48'000'000, 3, 13), place(52.5096, 13.3759, 2'500'000, 3, 13),
            place(52.4862, 13.4245, 6'000, 3, 12)};
}

}  // namespace quorvel::maptest
