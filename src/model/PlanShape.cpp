// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PlanShape.hpp"

#include "platform/Assert.hpp"

namespace quorvel {

namespace {

const LocalDay kUnused(1970, 1, 1);

}  // namespace

PlanShape::PlanShape(Kind kind, int startDay, int everyDays, LocalDay from, LocalDay until)
    : kind_(kind), startDay_(startDay), everyDays_(everyDays), from_(from), until_(until)
{
}

PlanShape PlanShape::monthly(int startDay)
{
    QV_REQUIRE(startDay >= 1 && startDay <= 31, "a monthly plan's start day must be checked to lie in 1..31");
    return PlanShape(Kind::Monthly, startDay, 1, kUnused, kUnused);
}

PlanShape PlanShape::every(int days, LocalDay from)
{
    QV_REQUIRE(days >= 1 && days <= kMaxEveryDays, "a plan's period length must be checked to lie in 1..366 days");
    return PlanShape(Kind::Every, 1, days, from, kUnused);
}

PlanShape PlanShape::daily()
{
    return PlanShape(Kind::Daily, 1, 1, kUnused, kUnused);
}

PlanShape PlanShape::prepaid(LocalDay from, LocalDay until)
{
    QV_REQUIRE(from <= until, "a prepaid plan's last day must be checked not to lie before its first");
    return PlanShape(Kind::Prepaid, 1, 1, from, until);
}

std::string_view PlanShape::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Monthly:
        return "monthly";
    case Kind::Every:
        return "every";
    case Kind::Daily:
        return "daily";
    case Kind::Prepaid:
        return "prepaid";
    }
    return "monthly";
}

std::optional<PlanShape::Kind> PlanShape::kindNamed(std::string_view name)
{
    for (Kind k : {Kind::Monthly, Kind::Every, Kind::Daily, Kind::Prepaid}) {
        if (kindName(k) == name) {
            return k;
        }
    }
    return std::nullopt;
}

}  // namespace quorvel
