// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "platform/Date.hpp"

namespace quorvel {

class FTrafficDataInformation;

// The billing month for status bars and scripts: one line of text, or one JSON object in the
// format of waybar's custom modules. Sizes read as everywhere else in quorvelctl.
class CtlStatusLine {
public:
    // "1.75 GB of 2 GB (87%) · 250 MB left · 6 days left"; past the plan "… · 500 MB over · …".
    static std::string oneLine(const FTrafficDataInformation& s, Date today);
    // {"text":…,"tooltip":…,"class":…,"percentage":…} on one line.
    static std::string waybar(const FTrafficDataInformation& s, Date today);
    // "normal" below 90 % of the plan, "warning" from 90 %, "critical" from 100 %.
    static const char* level(long long percent);
};

}  // namespace quorvel
