// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PlanPeriod.hpp"

#include <algorithm>
#include <chrono>

namespace quorvel {

namespace {

int daysInMonth(int y, int m)
{
    using namespace std::chrono;
    return static_cast<int>(static_cast<unsigned>(
        year_month_day_last{year{y}, month_day_last{month{static_cast<unsigned>(m)}}}.day()));
}

// The month `delta` months from (y, m), as (year, month).
std::pair<int, int> monthFrom(int y, int m, int delta)
{
    const int index = y * 12 + (m - 1) + delta;
    return {index / 12, index % 12 + 1};
}

long floorDiv(long a, long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

PlanPeriod PlanPeriod::monthly(int s, LocalDay today)
{
    const int y = today.year();
    const int m = today.month();
    const int d = today.day();
    if (d >= s) {
        // Began this month on day s; ends the day before s next month, or with next month when
        // it is too short to have that day.
        if (s == 1) {
            return {LocalDay(y, m, 1), LocalDay(y, m, daysInMonth(y, m)), false};
        }
        const auto [ny, nm] = monthFrom(y, m, 1);
        return {LocalDay(y, m, s), LocalDay(ny, nm, std::min(s - 1, daysInMonth(ny, nm))), false};
    }
    // Began last month on day s, or on this month's 1st when last month has no day s.
    const auto [py, pm] = monthFrom(y, m, -1);
    const LocalDay first = daysInMonth(py, pm) >= s ? LocalDay(py, pm, s) : LocalDay(y, m, 1);
    return {first, LocalDay(y, m, std::min(s - 1, daysInMonth(y, m))), false};
}

PlanPeriod PlanPeriod::of(const PlanShape& shape, LocalDay today)
{
    switch (shape.kind()) {
    case PlanShape::Kind::Monthly:
        return monthly(shape.startDay(), today);
    case PlanShape::Kind::Every: {
        const long n = shape.everyDays();
        const LocalDay first = shape.from().plusDays(floorDiv(shape.from().daysUntil(today), n) * n);
        return {first, first.plusDays(n - 1), false};
    }
    case PlanShape::Kind::Daily:
        return {today, today, false};
    case PlanShape::Kind::Prepaid:
        return {shape.from(), shape.until(), today > shape.until()};
    }
    return monthly(1, today);
}

PlanPeriod PlanPeriod::previous(const PlanShape& shape) const
{
    if (shape.kind() == PlanShape::Kind::Prepaid) {
        return *this;
    }
    return of(shape, first_.plusDays(-1));
}

std::int32_t PlanPeriod::daysUsed(LocalDay today) const
{
    return static_cast<std::int32_t>(std::clamp<long>(first_.daysUntil(today), 0, length()));
}

std::int32_t PlanPeriod::daysLeft(LocalDay today) const
{
    return static_cast<std::int32_t>(std::clamp<long>(today.daysUntil(last_) + 1, 0, length()));
}

}  // namespace quorvel
