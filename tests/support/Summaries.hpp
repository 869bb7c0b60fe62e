// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>

#include "model/FTrafficDataInformation.hpp"
#include "model/UsageFigures.hpp"

namespace quorvel::test {

// A summary's figures as a screen test states them, in the order the main screen lists them.
struct SummaryFigures {
    std::uint64_t plan = 0, used = 0, left = 0;
    std::int32_t daysUsed = 0, daysLeft = 0;
    std::uint64_t today = 0, averagePerDay = 0, perDayLeft = 0, estimate = 0, roaming = 0;
    std::uint64_t billStartDay = 1;
};

// A summary holding exactly those figures, made through the summary's own operations.
inline std::shared_ptr<FTrafficDataInformation> summaryWith(const SummaryFigures& f)
{
    UsageFigures u;
    u.base.plan = f.plan;
    u.base.used = f.used;
    u.base.today = f.today;
    u.base.daysUsed = f.daysUsed;
    u.base.daysLeft = f.daysLeft;
    u.left = f.left;
    u.perDayLeft = f.perDayLeft;
    u.averagePerDay = f.averagePerDay;
    u.estimate = f.estimate;
    auto s = std::make_shared<FTrafficDataInformation>();
    s->setFigures(u);
    s->setPeriodDetails(f.billStartDay, f.roaming);
    return s;
}

}  // namespace quorvel::test
