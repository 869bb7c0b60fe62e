// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlImport.hpp"

#include <ostream>

#include "engine/HistoryTransfer.hpp"
#include "engine/VnstatHistory.hpp"
#include "engine/CAppController.hpp"
#include "model/FileSize.hpp"

namespace quorvel {

namespace {

using Kind = HistoryImport::Kind;

const char* many(std::size_t n, const char* one, const char* more)
{
    return n == 1 ? one : more;
}

}  // namespace

int CtlImport::refuse(std::ostream& err, const std::string& source, const std::string& why)
{
    err << "quorvelctl: cannot import " << source << ": " << why << "; nothing was changed\n";
    return 1;
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
        err << "Quorvel is not set up yet. Run: quorvelctl setup --plan MB --start-day DAY [--used MB]\n";
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
    out << (dryRun ? "Would import: " : "Imported: ") << t.daysAdded << many(t.daysAdded, " day added, ", " days added, ")
        << t.daysReplaced << many(t.daysReplaced, " day with a larger amount, ", " days with a larger amount, ")
        << t.daysKept << " kept as recorded, " << t.daysFolded << " in month totals; " << plan.correctionsAdded
        << many(plan.correctionsAdded, " correction, ", " corrections, ") << t.totals
        << many(t.totals, " month total, ", " month totals, ") << plan.placesChanged
        << many(plan.placesChanged, " place.\n", " places.\n");
    // A day in both: which amount stays, and the one it stays over.
    for (const HistoryImport::Change& c : plan.days) {
        if (c.kind == Kind::Replaced || c.kind == Kind::KeptRecorded) {
            const bool imported = c.kind == Kind::Replaced;
            out << c.what << ": " << (dryRun ? "would keep" : "kept") << " the " << (imported ? "imported " : "recorded ")
                << FileSize::formatMemoryStringDot1(imported ? c.imported : c.recorded) << " over the "
                << (imported ? "recorded " : "imported ") << FileSize::formatMemoryStringDot1(imported ? c.recorded : c.imported)
                << "\n";
        }
    }
    if (plan.placesDropped > 0) {
        out << plan.placesDropped << many(plan.placesDropped, " place used least recently is", " places used least recently are")
            << " not kept: the map keeps 12.\n";
    }
    if (dryRun) {
        out << "Nothing was changed (dry run).\n";
    }
}

}  // namespace quorvel
