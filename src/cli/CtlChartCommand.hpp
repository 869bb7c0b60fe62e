// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iosfwd>
#include <memory>

#include "cli/CtlArguments.hpp"
#include "model/SharedSummary.hpp"

namespace quorvel {

// What `quorvelctl chart` needs of the page renderer. The renderer lives in a module loaded by
// that command only (see CtlChartModule), so that the sampling commands, run every few minutes in
// the background, never load the text and drawing libraries.
class CtlChartCommand {
public:
    virtual ~CtlChartCommand() = default;
    // Checks the options; false (after one line on `err`) when a value is refused.
    virtual bool parse(const CtlArguments& a, std::ostream& err) = 0;
    // Draws the page for the summary (none before the set-up: the empty page). Returns the exit code.
    virtual int render(const SharedSummary& summary, std::ostream& out,
                       std::ostream& err) const = 0;
};

}  // namespace quorvel
