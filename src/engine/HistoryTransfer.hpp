// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

#include "engine/HistoryImport.hpp"

namespace quorvel {

class CAppController;

// A history carried in and out of the plan on show: read from a file (Quorvel's own JSON or CSV
// export, or vnStat's database), checked whole, and merged in one change under the one-writer
// lock; or written out as the JSON backup. The one way both the command line and the window do
// it, so both refuse the same files for the same reasons.
class HistoryTransfer {
public:
    enum class Format { Json, Csv, Vnstat };
    struct Source {
        Format format = Format::Json;
        std::string path;
        std::optional<std::string> interface;  // vnStat's: the only one when none is named
    };
    struct Outcome {
        // Why nothing was changed, in words that follow "cannot import FILE: "; empty when the
        // import went through (or, for a dry run, would).
        std::string refusal;
        HistoryImport::Plan plan;
    };

    // The format of the file at `path` as its first bytes show it: vnStat's database, a JSON
    // backup (an object or a list), else CSV. JSON when it cannot be read (the read then says why).
    static Format formatOf(const std::string& path);
    // Reads, checks and, unless `dryRun`, merges `source` into the plan on show; with
    // `withSettings`, the backup's settings too. The caller makes sure the app is set up.
    static Outcome importInto(CAppController& app, const Source& source, bool withSettings, bool dryRun);
    // The JSON backup of the plan on show, written atomically to `path`; the reason when not.
    static std::optional<std::string> exportTo(const CAppController& app, const std::string& path);
};

}  // namespace quorvel
