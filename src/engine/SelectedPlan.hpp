// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "model/CPlanProtocol.hpp"

namespace quorvel {

class CAppController;

// The plan the screens show, whichever it is now: every call goes to the plan the controller
// has chosen (This device's or a SIM's), so that a screen made once reads the right figures
// after the user switches plans.
class SelectedPlan final : public CPlanProtocol {
public:
    explicit SelectedPlan(const CAppController& app) : app_(app) {}

    std::uint64_t getMonthPlan() const override;
    std::uint64_t getDayPlan() const override;
    std::uint64_t getDataUsed() const override;
    std::int32_t getLocationsCount() const override;
    std::int32_t getPlanStartDay() const override;
    void setPlanStartDay(std::int32_t day) override;
    void setMonthLimit(double level) override;
    void setDayLimit(bool on) override;
    void setOverBoundLimit(bool on) override;
    void savePlanToPreferences() override;
    void saveState() override;
    void setNewPlanValue(std::uint64_t plan) override;
    void resetLocations() override;
    void resetPrevMonthsInfo() override;
    std::optional<std::uint64_t> pMonthPlan() const override;
    void setPMonthPlan(std::optional<std::uint64_t> plan) override;
    std::optional<std::int32_t> pPlanStartDay() const override;
    void setPPlanStartDay(std::optional<std::int32_t> day) override;
    std::optional<Location> pLastLocation() const override;
    void setPLastLocation(std::optional<Location> location) override;
    const CTrafficPoint* getTrafficToday() const override;
    UsageFigures usageFigures() const override;

private:
    CPlanProtocol& chosen() const;
    const CAppController& app_;
};

}  // namespace quorvel
