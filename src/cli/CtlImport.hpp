// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <iosfwd>
#include <string>

#include "cli/CtlArguments.hpp"
#include "engine/HistoryImport.hpp"

namespace quorvel {

class CAppController;

// `quorvelctl import`: a history read from a file (Quorvel's own export, JSON or CSV, or vnStat's
// database) merged into the history the command works on, in one change under the one-writer
// lock; with --settings also the backup's plan and alert switches; with --dry-run only said.
// Whatever is wrong with the file refuses the whole import (exit 1), nothing changed.
class CtlImport {
public:
    using StartApp = std::function<CAppController&()>;
    static int run(const CtlArguments& a, std::ostream& out, std::ostream& err, const StartApp& start);

private:
    static void summarize(const HistoryImport::Plan& plan, bool dryRun, std::ostream& out);
    static int refuse(std::ostream& err, const std::string& source, const std::string& why);
};

}  // namespace quorvel
