// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string_view>

#include "model/LocalDay.hpp"

namespace quorvel {

// How a plan renews, as carriers sell it: every month from a start day, every N days from a
// first date, every day, or once from a first to a last date (prepaid, no renewal). The billing
// period follows from it (PlanPeriod).
class PlanShape {
public:
    enum class Kind { Monthly, Every, Daily, Prepaid };
    static constexpr int kMaxEveryDays = 366;

    static PlanShape monthly(int startDay);
    static PlanShape every(int days, LocalDay from);
    static PlanShape daily();
    static PlanShape prepaid(LocalDay from, LocalDay until);

    Kind kind() const { return kind_; }
    // The monthly start day (1..31); 1 for the other shapes.
    int startDay() const { return startDay_; }
    // The length of an every-N-days period; 1 for a daily plan.
    int everyDays() const { return everyDays_; }
    // The first day of an every-N-days or prepaid plan.
    LocalDay from() const { return from_; }
    // The last day of a prepaid plan.
    LocalDay until() const { return until_; }

    // "monthly", "every", "daily", "prepaid": the names the state file and `status --json` use.
    static std::string_view kindName(Kind kind);
    static std::optional<Kind> kindNamed(std::string_view name);

    friend bool operator==(const PlanShape&, const PlanShape&) = default;

private:
    PlanShape(Kind kind, int startDay, int everyDays, LocalDay from, LocalDay until);

    Kind kind_;
    int startDay_;
    int everyDays_;
    LocalDay from_;
    LocalDay until_;
};

}  // namespace quorvel
