// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/ChartDescription.hpp"

#include "model/DateDay.hpp"
#include "model/FileSize.hpp"
#include "model/MonthTraffic.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

std::string dayText(Date date)
{
    // Translators: a day in the chart's description for screen readers, as strftime writes it
    // under the user's LC_TIME ("%-d %B" is "4 March").
    return DateDay::localFormat(date, _("%-d %B"));
}

}  // namespace

std::string ChartDescription::of(const MonthTraffic& month)
{
    const auto& days = month.arrDaysTraffics();
    const std::string from = month.date() ? Translation::fill(_("From %s: "), {dayText(*month.date())}) : "";
    if (days.empty()) {
        return from + _("no traffic recorded yet");
    }
    const CTrafficPoint* most = &days.front();
    for (const CTrafficPoint& day : days) {
        if (day.getTotalTraffic() > most->getTotalTraffic()) {
            most = &day;
        }
    }
    const std::size_t n = days.size();
    // Translators: the month's use, its number of days, the day used most and that day's use.
    return from + Translation::fill(ngettext("%s used on %s day; the most on %s, %s",
                                             "%s used on %s days; the most on %s, %s", n),
                                    {FileSize::formatMemoryStringDot1(month.getDataUsed()), std::to_string(n),
                                     dayText(most->pDate()), FileSize::formatMemoryStringDot1(most->getTotalTraffic())});
}

}  // namespace quorvel
