// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlChartModule.hpp"

#include <ostream>

#include "cli/CtlProblem.hpp"
#include "platform/LoadableModule.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

int CtlChartModule::run(const Paths& paths, const std::vector<std::string>& arguments, std::ostream& out,
                        std::ostream& err)
{
    std::string why;
    void* entry = LoadableModule::entryPoint(kFile, kEntry, why);
    if (entry == nullptr) {
        CtlProblem::say(err, Translation::fill(_("cannot draw charts: %s"), {why}));
        return 1;
    }
    return reinterpret_cast<Entry>(entry)(paths, arguments, out, err);
}

}  // namespace quorvel
