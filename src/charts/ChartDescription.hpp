// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace quorvel {

class MonthTraffic;

// A chart page in words, for screen readers: what the two graphs show of one billing month
// ("From 15 November: 1.82 GB used on 26 days; the most on 6 December, 140 MB").
class ChartDescription {
public:
    static std::string of(const MonthTraffic& month);
};

}  // namespace quorvel
