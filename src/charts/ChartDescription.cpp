// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/ChartDescription.hpp"

#include "model/DateDay.hpp"
#include "model/FileSize.hpp"
#include "model/MonthTraffic.hpp"

namespace quorvel {

std::string ChartDescription::of(const MonthTraffic& month)
{
    const auto& days = month.arrDaysTraffics();
    const std::string from = month.date() ? "From " + DateDay::getDay_MonthString(*month.date()) + ": " : "";
    if (days.empty()) {
        return from + "no traffic recorded yet";
    }
    const CTrafficPoint* most = &days.front();
    for (const CTrafficPoint& day : days) {
        if (day.getTotalTraffic() > most->getTotalTraffic()) {
            most = &day;
        }
    }
    const std::size_t n = days.size();
    return from + FileSize::formatMemoryStringDot1(month.getDataUsed()) + " used on " + std::to_string(n) +
           (n == 1 ? " day" : " days") + "; the most on " + DateDay::getDay_MonthString(most->pDate()) + ", " +
           FileSize::formatMemoryStringDot1(most->getTotalTraffic());
}

}  // namespace quorvel
