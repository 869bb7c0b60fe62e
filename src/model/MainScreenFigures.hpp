// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "platform/Date.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

class FTrafficDataInformation;

// Everything the main screen shows, as texts and gauge values, derived from one usage summary.
// The window and the command line show the same figures.
struct MainScreenFigures {
    static constexpr const char* kAdviceExtend = N_("Consider the possibility of the Data Plan extending");
    static constexpr const char* kAdviceWithin = N_("You stay within your normal range of usage");

    std::string plan;
    std::string used;
    std::string left;
    std::string usedToday;
    std::string usedDaily;
    std::string leftDaily;
    std::string cyclePassed;  // "1 day", "9 days"
    std::string cycleLeft;
    std::string estimation;
    std::string roaming;      // the billing month's use while roaming; empty when there was none
    std::string percentUsed;  // without a sign; ">999" from 9.99 times the plan
    std::string dateLong;     // "March 5"
    double progress = 0.0;    // share of the plan used, unclamped
    double marker = 0.0;      // how far the billing month has gone
    long long percent = 0;    // share of the plan in whole per cent, unclamped
    std::string progressText; // "61%"
    std::string markerText;
    std::string advice;
    bool adviceEmphasised = false;  // shown in the accent colour

    static MainScreenFigures fromSummary(const FTrafficDataInformation& info, Date today);
};

}  // namespace quorvel
