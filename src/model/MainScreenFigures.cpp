// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MainScreenFigures.hpp"

#include <cstdint>
#include <limits>

#include "model/DateDay.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/FileSize.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

std::string dayCount(int n)
{
    return Translation::fill(ngettext("%s day", "%s days", static_cast<unsigned long>(n < 0 ? -n : n)),
                             {std::to_string(n)});
}

// The whole part of used / plan in per cent, in integers: 29 of 100 is 29 %, which the double
// 0.29 × 100 (28.999…) would truncate to 28. Saturates where an int ends.
long long wholePercent(std::uint64_t used, std::uint64_t plan)
{
    if (plan == 0) {
        return 0;
    }
    const unsigned __int128 pct = static_cast<unsigned __int128>(used) * 100u / plan;
    constexpr auto kMax = static_cast<unsigned __int128>(std::numeric_limits<int>::max());
    return static_cast<long long>(pct < kMax ? pct : kMax);
}

// The share without a sign: "0" without a plan, ">999" from 9.99 times the plan on.
std::string percentText(std::uint64_t used, std::uint64_t plan)
{
    if (plan == 0) {
        return std::string(1, '0');
    }
    const bool below999 = static_cast<unsigned __int128>(used) * 100u < static_cast<unsigned __int128>(plan) * 999u;
    return below999 ? std::to_string(wholePercent(used, plan)) : std::string(">999");
}

}  // namespace

MainScreenFigures MainScreenFigures::fromSummary(const FTrafficDataInformation& info, Date today)
{
    MainScreenFigures f;
    f.plan = FileSize::formatMemoryStringDot1NSnum(info.pDataPlan());
    f.used = FileSize::formatMemoryStringDot1NSnum(info.pDataUsed());
    f.left = FileSize::formatMemoryStringDot1NSnum(info.pDataLeft());
    f.usedToday = FileSize::formatMemoryStringDot1NSnum(info.pTodayDataUsed());
    f.usedDaily = FileSize::formatMemoryStringDot1NSnum(info.pAvgDataPerDayUsed());
    f.leftDaily = FileSize::formatMemoryStringDot1NSnum(info.pDataPerDayLeft());
    const auto u = static_cast<int>(static_cast<std::int64_t>(info.pDaysUsed().value_or(0)));
    const auto l = static_cast<int>(static_cast<std::int64_t>(info.pDaysLeft().value_or(0)));
    f.cyclePassed = dayCount(u);
    f.cycleLeft = dayCount(l);
    f.estimation = FileSize::formatMemoryStringDot1NSnum(info.pDataEstimation());
    if (info.pRoamingUsed().value_or(0) != 0) {
        f.roaming = FileSize::formatMemoryStringDot1(*info.pRoamingUsed());
    }

    const auto plan = static_cast<double>(info.pDataPlan().value_or(0));
    const auto used = static_cast<double>(info.pDataUsed().value_or(0));
    const double ratio = plan == 0.0 ? 0.0 : used / plan;
    f.percentUsed = percentText(info.pDataUsed().value_or(0), info.pDataPlan().value_or(0));
    f.dateLong = DateDay::localMonthDay(today);

    f.progress = ratio;
    f.marker = u + l >= 1 ? static_cast<double>(u + 1) / static_cast<double>(u + l) : 0.0;
    f.percent = wholePercent(info.pDataUsed().value_or(0), info.pDataPlan().value_or(0));
    f.progressText = std::to_string(f.percent) + "%";
    f.markerText = f.dateLong;

    const auto estimation = static_cast<double>(info.pDataEstimation().value_or(0));
    f.adviceEmphasised = estimation > plan;
    f.advice = f.adviceEmphasised ? kAdviceExtend : kAdviceWithin;
    return f;
}

}  // namespace quorvel
