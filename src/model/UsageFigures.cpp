// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/UsageFigures.hpp"

#include <algorithm>
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
    const std::uint64_t charged = f.charged();
    f.left = base.allowanceLeft ? *base.allowanceLeft : charged < base.plan ? base.plan - charged : 0;
    f.perDayLeft = divided(f.left, base.daysLeft);
    f.averagePerDay = divided(base.used, std::int64_t{base.daysUsed} + 1);
    f.estimate = saturatedProduct(f.averagePerDay, base.daysInPeriod);
    f.dayPlan = base.plan / static_cast<std::uint64_t>(base.daysInPeriod > 0 ? base.daysInPeriod : 30);
    return f;
}

std::uint64_t UsageFigures::charged() const
{
    return base.used > std::numeric_limits<std::uint64_t>::max() - base.forfeited
               ? std::numeric_limits<std::uint64_t>::max()
               : base.used + base.forfeited;
}

std::uint64_t UsageFigures::spent() const
{
    return left == 0 ? std::max(charged(), base.plan) : charged();
}

UsageFigures UsageFigures::withPlan(std::uint64_t plan) const
{
    Base other = base;
    other.plan = plan;
    other.allowanceLeft.reset();  // packs are weighed against the plan they were bought on
    return compute(other);
}

}  // namespace quorvel
