// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/AllowanceParts.hpp"

#include "model/DateDay.hpp"
#include "model/FileSize.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

std::string dayMonth(LocalDay d)
{
    // Translators: a day of the period line, as strftime writes it under the user's LC_TIME
    // ("%-d %b" is "1 Dec"; "%-d. %b" gives "1. Dez").
    /* xgettext:no-c-format */
    return DateDay::localFormat(d.year(), d.month(), d.day(), _("%-d %b"));
}

std::string periodText(LocalDay first, LocalDay last)
{
    const std::string year = " " + std::to_string(last.year());
    if (first == last) {
        return dayMonth(last) + year;
    }
    // The first day's year only where the period crosses into another.
    const std::string start = dayMonth(first) + (first.year() != last.year() ? " " + std::to_string(first.year()) : "");
    return start + " – " + dayMonth(last) + year;
}

std::string size(std::uint64_t bytes)
{
    return FileSize::formatMemoryStringDot1(bytes);
}

}  // namespace

AllowanceParts AllowanceParts::of(const PlanFacts& f, LocalDay today)
{
    AllowanceParts a;
    a.period_ = periodText(f.periodFirst, f.periodLast);
    a.expired_ = f.expired;
    if (f.rollover == 0 && f.packs.empty()) {
        return a;
    }
    a.parts_.push_back({"Plan", size(f.plan)});
    if (f.rollover > 0) {
        a.parts_.push_back({"Rollover", size(f.rollover)});
    }
    for (std::size_t i = 0; i < f.packs.size(); ++i) {
        const PlanFacts::Pack& p = f.packs[i];
        const std::string title = "Pack " + std::to_string(i + 1) + " (" + size(p.size) + ")";
        const std::string value = p.last < today ? "expired"
                                  : p.first > today ? "from " + dayMonth(p.first)
                                                    : size(p.left) + " left · to " + dayMonth(p.last);
        a.parts_.push_back({title, value});
    }
    return a;
}

}  // namespace quorvel
