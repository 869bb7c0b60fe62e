// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/UsageFigures.hpp"

#include <limits>

namespace quorvel {

namespace {

std::uint64_t divided(std::uint64_t amount, std::int64_t days)
{
    return amount / static_cast<std::uint64_t>(days > 0 ? days : 1);
}

std::uint64_t saturatedProduct(std::uint64_t amount, std::int64_t days)
{
    if (days <= 0) {
        return 0;
    }
    const auto n = static_cast<std::uint64_t>(days);
    return amount > std::numeric_limits<std::uint64_t>::max() / n ? std::numeric_limits<std::uint64_t>::max()
                                                                 : amount * n;
}

}  // namespace

UsageFigures UsageFigures::compute(const Base& base)
{
    UsageFigures f;
    f.base = base;
    f.left = base.used < base.plan ? base.plan - base.used : 0;
    f.perDayLeft = divided(f.left, base.daysLeft);
    f.averagePerDay = divided(base.used, std::int64_t{base.daysUsed} + 1);
    f.estimate = saturatedProduct(f.averagePerDay, base.daysInPeriod);
    f.dayPlan = base.plan / static_cast<std::uint64_t>(base.daysInPeriod > 0 ? base.daysInPeriod : 30);
    return f;
}

UsageFigures UsageFigures::withPlan(std::uint64_t plan) const
{
    Base other = base;
    other.plan = plan;
    return compute(other);
}

}  // namespace quorvel
