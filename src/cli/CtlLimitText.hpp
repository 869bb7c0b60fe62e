// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace quorvel {

class CTrafficLimitBase;

// One limit of the alert list as the user thinks of it: which alert, at what share of which
// amount, and the size that sets it off ("Monthly limit at 90% of the plan: 1.8 GB").
class CtlLimitText {
public:
    static std::string line(const CTrafficLimitBase& limit);
};

}  // namespace quorvel
