// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SelectedPlan.hpp"

#include <utility>

#include "engine/CAppController.hpp"

namespace quorvel {

CPlanProtocol& SelectedPlan::chosen() const
{
    return *app_.pmodule();
}

std::uint64_t SelectedPlan::getMonthPlan() const
{
    return chosen().getMonthPlan();
}

std::uint64_t SelectedPlan::getDayPlan() const
{
    return chosen().getDayPlan();
}

std::uint64_t SelectedPlan::getDataUsed() const
{
    return chosen().getDataUsed();
}

std::int32_t SelectedPlan::getLocationsCount() const
{
    return chosen().getLocationsCount();
}

std::int32_t SelectedPlan::getPlanStartDay() const
{
    return chosen().getPlanStartDay();
}

void SelectedPlan::setPlanStartDay(std::int32_t day)
{
    chosen().setPlanStartDay(day);
}

void SelectedPlan::setMonthLimit(double level)
{
    chosen().setMonthLimit(level);
}

void SelectedPlan::setDayLimit(bool on)
{
    chosen().setDayLimit(on);
}

void SelectedPlan::setOverBoundLimit(bool on)
{
    chosen().setOverBoundLimit(on);
}

void SelectedPlan::savePlanToPreferences()
{
    chosen().savePlanToPreferences();
}

void SelectedPlan::saveState()
{
    chosen().saveState();
}

void SelectedPlan::setNewPlanValue(std::uint64_t plan)
{
    chosen().setNewPlanValue(plan);
}

void SelectedPlan::resetLocations()
{
    chosen().resetLocations();
}

void SelectedPlan::resetPrevMonthsInfo()
{
    chosen().resetPrevMonthsInfo();
}

std::optional<std::uint64_t> SelectedPlan::pMonthPlan() const
{
    return chosen().pMonthPlan();
}

void SelectedPlan::setPMonthPlan(std::optional<std::uint64_t> plan)
{
    chosen().setPMonthPlan(plan);
}

std::optional<std::int32_t> SelectedPlan::pPlanStartDay() const
{
    return chosen().pPlanStartDay();
}

void SelectedPlan::setPPlanStartDay(std::optional<std::int32_t> day)
{
    chosen().setPPlanStartDay(day);
}

std::optional<Location> SelectedPlan::pLastLocation() const
{
    return chosen().pLastLocation();
}

void SelectedPlan::setPLastLocation(std::optional<Location> location)
{
    chosen().setPLastLocation(std::move(location));
}

const CTrafficPoint* SelectedPlan::getTrafficToday() const
{
    return chosen().getTrafficToday();
}

UsageFigures SelectedPlan::usageFigures() const
{
    return chosen().usageFigures();
}

}  // namespace quorvel
