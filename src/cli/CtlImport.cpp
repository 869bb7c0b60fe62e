// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlImport.hpp"

#include <ostream>

#include "cli/CtlProblem.hpp"
#include "engine/HistoryTransfer.hpp"
#include "engine/VnstatHistory.hpp"
#include "engine/CAppController.hpp"
#include "model/FileSize.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

using Kind = HistoryImport::Kind;

// "3 days added": `translated` is the form the user's language takes for n.
std::string counted(std::size_t n, const char* translated)
{
    return Translation::fill(translated, {std::to_string(n)});
}

const char* keptText(bool dryRun, bool imported)
{
    if (dryRun) {
        return imported ? _("%s: would keep the imported %s over the recorded %s")
                        : _("%s: would keep the recorded %s over the imported %s");
    }
    return imported ? _("%s: kept the imported %s over the recorded %s") : _("%s: kept the recorded %s over the imported %s");
}

}  // namespace

int CtlImport::refuse(std::ostream& err, const std::string& source, const std::string& why)
{
    return CtlProblem::refuse(err, Translation::fill(_("cannot import %s: %s; nothing was changed"), {source, why}));
}

int CtlImport::run(const CtlArguments& a, std::ostream& out, std::ostream& err, const StartApp& start)
{
    using Format = HistoryTransfer::Format;
    HistoryTransfer::Source source;
    if (a.has("--vnstat")) {
        source.format = Format::Vnstat;
        source.path = a.words.empty() ? std::string(VnstatHistory::kDefaultDatabase) : a.words[0];
        source.interface = a.value("--interface");
    } else {
        source.format = a.has("--csv") ? Format::Csv : Format::Json;
        source.path = a.words[0];
    }
    CAppController& app = start();
    if (app.isFirstStart()) {
        err << _("Quorvel is not set up yet. Run: quorvelctl setup --plan MB --start-day DAY [--used MB]") << "\n";
        return 3;
    }
    const bool dryRun = a.has("--dry-run");
    const HistoryTransfer::Outcome outcome = HistoryTransfer::importInto(app, source, a.has("--settings"), dryRun);
    if (!outcome.refusal.empty()) {
        return refuse(err, source.path, outcome.refusal);
    }
    summarize(outcome.plan, dryRun, out);
    return 0;
}

void CtlImport::summarize(const HistoryImport::Plan& plan, bool dryRun, std::ostream& out)
{
    const HistoryImport::Tally t = plan.tally();
    const std::string what = Translation::fill(
        _("%s, %s, %s kept as recorded, %s in month totals; %s, %s, %s."),
        {counted(t.daysAdded, ngettext("%s day added", "%s days added", t.daysAdded)),
         counted(t.daysReplaced, ngettext("%s day with a larger amount", "%s days with a larger amount", t.daysReplaced)),
         std::to_string(t.daysKept), std::to_string(t.daysFolded),
         counted(plan.correctionsAdded, ngettext("%s correction", "%s corrections", plan.correctionsAdded)),
         counted(t.totals, ngettext("%s month total", "%s month totals", t.totals)),
         counted(plan.placesChanged, ngettext("%s place", "%s places", plan.placesChanged))});
    out << Translation::fill(dryRun ? _("Would import: %s") : _("Imported: %s"), {what}) << "\n";
    // A day in both: which amount stays, and the one it stays over.
    for (const HistoryImport::Change& c : plan.days) {
        if (c.kind == Kind::Replaced || c.kind == Kind::KeptRecorded) {
            const bool imported = c.kind == Kind::Replaced;
            out << Translation::fill(keptText(dryRun, imported),
                                     {c.what, FileSize::formatMemoryStringDot1(imported ? c.imported : c.recorded),
                                      FileSize::formatMemoryStringDot1(imported ? c.recorded : c.imported)})
                << "\n";
        }
    }
    if (plan.placesDropped > 0) {
        out << counted(plan.placesDropped, ngettext("%s place used least recently is not kept: the map keeps 12.",
                                                    "%s places used least recently are not kept: the map keeps 12.",
                                                    plan.placesDropped))
            << "\n";
    }
    if (dryRun) {
        out << _("Nothing was changed (dry run).") << "\n";
    }
}

}  // namespace quorvel
