// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PeriodMonths.hpp"

#include <algorithm>

#include "model/DateDay.hpp"
#include "model/DayRange.hpp"
#include "model/PlanPeriod.hpp"

namespace quorvel {

namespace {

std::vector<PlanPeriod> pagePeriods(const std::vector<std::unique_ptr<MonthTraffic>>& months, const PlanShape& shape,
                                    LocalDay today)
{
    if (shape.kind() == PlanShape::Kind::Daily) {
        return {PlanPeriod::of(PlanShape::every(31, today.plusDays(-30)), today)};
    }
    LocalDay oldest = today;
    for (const auto& m : months) {
        for (const CTrafficPoint& d : m->arrDaysTraffics()) {
            oldest = std::min(oldest, LocalDay::of(d.pDate()));
        }
    }
    std::vector<PlanPeriod> periods;
    for (PlanPeriod p = PlanPeriod::of(shape, today); periods.size() < PeriodMonths::kMaxPages; p = p.previous(shape)) {
        periods.insert(periods.begin(), p);
        if (p.first() <= oldest || shape.kind() == PlanShape::Kind::Prepaid) {
            break;
        }
    }
    return periods;
}

}  // namespace

FTrafficDataInformation::Months PeriodMonths::build(const std::vector<std::unique_ptr<MonthTraffic>>& months,
                                                    const PlanShape& shape, LocalDay today, std::uint64_t plan)
{
    FTrafficDataInformation::Months out;
    if (months.empty()) {
        return out;
    }
    std::vector<std::vector<int>> keys;  // each month's day keys, once
    for (const auto& m : months) {
        std::vector<int>& k = keys.emplace_back();
        for (const CTrafficPoint& d : m->arrDaysTraffics()) {
            k.push_back(DateDay::dayKey(d.pDate()));
        }
    }
    for (const PlanPeriod& p : pagePeriods(months, shape, today)) {
        auto rec = std::make_shared<MonthTraffic>(p.first().noon(), plan);
        const DayRange range(p.first().noon(), p.last().noon());
        for (std::size_t i = 0; i < months.size(); ++i) {
            rec->addTrafficWithin(*months[i], keys[i], range);
        }
        rec->setLastDate(p.last().noon());
        rec->setDaysCount(p.length());
        out.push_back(std::move(rec));
    }
    return out;
}

}  // namespace quorvel
