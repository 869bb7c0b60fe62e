// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>

#include "model/UsageFigures.hpp"
#include "platform/Location.hpp"

namespace quorvel {

class CTrafficPoint;

// How limits and screens use the traffic manager.
class CPlanProtocol {
public:
    virtual ~CPlanProtocol() = default;

    virtual std::uint64_t getMonthPlan() const = 0;
    virtual std::uint64_t getDayPlan() const = 0;
    virtual std::uint64_t getDataUsed() const = 0;
    virtual std::int32_t getLocationsCount() const = 0;
    virtual std::int32_t getPlanStartDay() const = 0;
    virtual void setPlanStartDay(std::int32_t day) = 0;
    virtual void setMonthLimit(double level) = 0;
    virtual void setDayLimit(bool on) = 0;
    virtual void setOverBoundLimit(bool on) = 0;
    virtual void savePlanToPreferences() = 0;
    virtual void saveState() = 0;
    virtual void setNewPlanValue(std::uint64_t plan) = 0;
    virtual void resetLocations() = 0;
    virtual void resetPrevMonthsInfo() = 0;
    virtual std::optional<std::uint64_t> pMonthPlan() const = 0;
    virtual void setPMonthPlan(std::optional<std::uint64_t> plan) = 0;
    virtual std::optional<std::int32_t> pPlanStartDay() const = 0;
    virtual void setPPlanStartDay(std::optional<std::int32_t> day) = 0;
    virtual std::optional<Location> pLastLocation() const = 0;
    virtual void setPLastLocation(std::optional<Location> location) = 0;
    // Today's day record in the history, which the day limit reads; null when none.
    virtual const CTrafficPoint* getTrafficToday() const = 0;
    // The billing period's figures for one update. By default from the getters above, without
    // the day counts; the traffic manager derives them from its history and calendar.
    virtual UsageFigures usageFigures() const;
};

}  // namespace quorvel
