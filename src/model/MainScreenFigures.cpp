#include "model/MainScreenFigures.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include "model/DateDay.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/FileSize.hpp"

namespace quorvel {

namespace {

std::string dayCount(int n)
{
    return std::to_string(n) + (n == 1 ? " day" : " days");
}

// The whole part of a share in per cent; saturates where an int ends rather than overflowing.
long long wholePercent(double ratio)
{
    const double pct = std::trunc(ratio * 100.0);
    if (std::isnan(pct)) {
        return 0;
    }
    constexpr double kMax = static_cast<double>(std::numeric_limits<int>::max());
    return static_cast<long long>(std::fmax(-kMax, std::fmin(kMax, pct)));
}

// The share without a sign: "0" without a plan, ">999" from 9.99 times the plan on.
std::string percentText(double plan, double ratio)
{
    if (plan == 0.0) {
        return std::string(1, '0');
    }
    return ratio < 9.99 ? std::to_string(wholePercent(ratio)) : std::string(">999");
}

}  // namespace

MainScreenFigures MainScreenFigures::fromSummary(const FTrafficDataInformation& info, Date today)
{
    MainScreenFigures f;
    f.plan = FileSize::formatMemoryStringDot1NSnum(info.pDataPlan);
    f.used = FileSize::formatMemoryStringDot1NSnum(info.pDataUsed);
    f.left = FileSize::formatMemoryStringDot1NSnum(info.pDataLeft);
    f.usedToday = FileSize::formatMemoryStringDot1NSnum(info.pTodayDataUsed);
    f.usedDaily = FileSize::formatMemoryStringDot1NSnum(info.pAvgDataPerDayUsed);
    f.leftDaily = FileSize::formatMemoryStringDot1NSnum(info.pDataPerDayLeft);
    const auto u = static_cast<int>(static_cast<std::int64_t>(info.pDaysUsed.value_or(0)));
    const auto l = static_cast<int>(static_cast<std::int64_t>(info.pDaysLeft.value_or(0)));
    f.cyclePassed = dayCount(u);
    f.cycleLeft = dayCount(l);
    f.estimation = FileSize::formatMemoryStringDot1NSnum(info.pDataEstimation);

    const auto plan = static_cast<double>(info.pDataPlan.value_or(0));
    const auto used = static_cast<double>(info.pDataUsed.value_or(0));
    const double ratio = plan == 0.0 ? 0.0 : used / plan;
    f.percentUsed = percentText(plan, ratio);
    f.dateLong = DateDay::getMonth_DayString(today);

    f.progress = ratio;
    f.marker = u + l >= 1 ? static_cast<double>(u + 1) / static_cast<double>(u + l) : 0.0;
    f.percent = wholePercent(ratio);
    f.progressText = std::to_string(f.percent) + "%";
    f.markerText = f.dateLong;

    const auto estimation = static_cast<double>(info.pDataEstimation.value_or(0));
    f.adviceEmphasised = estimation > plan;
    f.advice = f.adviceEmphasised ? kAdviceExtend : kAdviceWithin;
    return f;
}

}  // namespace quorvel
