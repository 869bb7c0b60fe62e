// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/HistoryTexts.hpp"

#include <vector>

#include "model/FileSize.hpp"

namespace quorvel {

namespace {

// `translated` is ngettext's choice for `n`, written out at each call so that xgettext sees both forms.
std::string count(std::size_t n, const char* translated)
{
    return Translation::fill(translated, {std::to_string(n)});
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : _(", ")) + p;
    }
    return out;
}

}  // namespace

std::string HistoryTexts::exportName(LocalDay today)
{
    return "quorvel-history-" + today.text() + ".json";
}

std::string HistoryTexts::summary(const HistoryImport::Plan& plan, std::size_t listed)
{
    const HistoryImport::Tally t = plan.tally();
    std::vector<std::string> days;
    if (t.daysAdded > 0) {
        days.push_back(count(t.daysAdded, ngettext("%s day added", "%s days added", t.daysAdded)));
    }
    if (t.daysReplaced > 0) {
        days.push_back(count(t.daysReplaced,
                             ngettext("%s day with a larger amount", "%s days with a larger amount", t.daysReplaced)));
    }
    if (t.daysKept > 0) {
        days.push_back(count(t.daysKept, ngettext("%s day kept as recorded", "%s days kept as recorded", t.daysKept)));
    }
    if (t.daysFolded > 0) {
        days.push_back(count(t.daysFolded, ngettext("%s day in month totals", "%s days in month totals", t.daysFolded)));
    }
    std::vector<std::string> rest;
    if (t.totals > 0) {
        rest.push_back(count(t.totals, ngettext("%s month total", "%s month totals", t.totals)));
    }
    if (plan.correctionsAdded > 0) {
        rest.push_back(count(plan.correctionsAdded, ngettext("%s correction", "%s corrections", plan.correctionsAdded)));
    }
    if (plan.placesChanged > 0) {
        rest.push_back(count(plan.placesChanged, ngettext("%s place", "%s places", plan.placesChanged)));
    }
    std::string out = joined(days);
    if (!rest.empty()) {
        out += (out.empty() ? "" : "\n") + joined(rest);
    }
    // A day in both: the amount kept, over the one not kept.
    std::size_t shown = 0;
    for (const HistoryImport::Change& c : plan.days) {
        using Kind = HistoryImport::Kind;
        if ((c.kind != Kind::Replaced && c.kind != Kind::KeptRecorded) || shown == listed) {
            continue;
        }
        const bool imported = c.kind == Kind::Replaced;
        const char* line =
            imported ? _("%s: the imported %s over the recorded %s") : _("%s: the recorded %s over the imported %s");
        out += "\n" + Translation::fill(line, {c.what, FileSize::formatMemoryStringDot1(imported ? c.imported : c.recorded),
                                               FileSize::formatMemoryStringDot1(imported ? c.recorded : c.imported)});
        ++shown;
    }
    if (plan.placesDropped > 0) {
        out += "\n" + count(plan.placesDropped,
                            ngettext("%s place used least recently is not kept: the map keeps 12.",
                                     "%s places used least recently are not kept: the map keeps 12.", plan.placesDropped));
    }
    return out;
}

std::string HistoryTexts::refusal(const std::string& why)
{
    return Translation::fill(_("This file cannot be imported: %s. Nothing was changed."), {why});
}

std::string HistoryTexts::exportFailed(const std::string& why)
{
    return Translation::fill(_("The backup cannot be written: %s."), {why});
}

std::string HistoryTexts::exported(const std::string& path)
{
    return Translation::fill(_("Saved to %s."), {path});
}

}  // namespace quorvel
