// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "model/PlanFacts.hpp"

namespace quorvel {

// What the main screen tells about the plan behind its figures: the period's dates, whether a
// prepaid plan has ended, and, when the period may use more than the plan, what the allowance is
// made of (the plan, the rollover, each pack with what it has left).
class AllowanceParts {
public:
    struct Part {
        std::string title;
        std::string value;
    };

    static AllowanceParts of(const PlanFacts& facts, LocalDay today);

    // "1 Dec – 28 Dec 2026"; a one-day period shows its day once.
    const std::string& period() const { return period_; }
    bool expired() const { return expired_; }
    // Empty when the allowance is the plan alone.
    const std::vector<Part>& parts() const { return parts_; }

    static constexpr const char* kExpired = "Plan expired";

private:
    std::string period_;
    bool expired_ = false;
    std::vector<Part> parts_;
};

}  // namespace quorvel
