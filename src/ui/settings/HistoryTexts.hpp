// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "engine/HistoryImport.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

// The texts of the settings' history rows and of the questions around an import or an export,
// in the user's language. The reasons a file is refused come from the reader as they are.
class HistoryTexts {
public:
    static constexpr const char* kHeaderHistory = N_("History");
    static constexpr const char* kRowImport = N_("Import History…");
    static constexpr const char* kRowExport = N_("Export History…");
    static constexpr const char* kFooter =
        N_("A backup holds every day, place and setting. Import reads one back, or the days vnStat counted, "
           "and never counts a day twice.");
    static constexpr const char* kChooseImport = N_("Import History");
    static constexpr const char* kChooseExport = N_("Export History");
    static constexpr const char* kFilterHistory = N_("Backups and vnStat Databases");
    static constexpr const char* kFilterAll = N_("All Files");
    static constexpr const char* kImport = N_("Import");
    static constexpr const char* kExport = N_("Export");
    static constexpr const char* kCancel = N_("Cancel");
    static constexpr const char* kClose = N_("Close");
    static constexpr const char* kAskImport = N_("Import History?");
    static constexpr const char* kImported = N_("History Imported");
    static constexpr const char* kNothing = N_("Nothing to Import");
    static constexpr const char* kNothingBody = N_("Every day in this file is already recorded.");
    static constexpr const char* kCannotImport = N_("Cannot Import");
    static constexpr const char* kCannotExport = N_("Cannot Export");
    static constexpr const char* kExported = N_("History Exported");
    static constexpr const char* kWhichInterface = N_("Which Interface?");
    static constexpr const char* kWhichInterfaceBody =
        N_("This vnStat database counts several interfaces. Choose the one that carried mobile data.");

    // "quorvel-history-2026-12-10.json": what the save dialog suggests.
    static std::string exportName(LocalDay today);
    // What an import brings (or brought), a sentence for each kind of change it makes, then the
    // days in both, at most `listed` of them, each with the amount kept.
    static std::string summary(const HistoryImport::Plan& plan, std::size_t listed = 5);
    static std::string refusal(const std::string& why);
    static std::string exportFailed(const std::string& why);
    static std::string exported(const std::string& path);
};

}  // namespace quorvel
