// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point of the chart module (see cli/CtlChartModule.hpp): the command line with the
// page renderer, run in the process of the quorvelctl that loaded it.
#include <memory>
#include <type_traits>

#include "cli/CtlChartModule.hpp"
#include "cli/QuorvelCtl.hpp"
#include "cli/chart/CtlChart.hpp"

extern "C" __attribute__((visibility("default"))) int quorvel_chart_run(const quorvel::Paths& paths,
                                                                       const std::vector<std::string>& arguments,
                                                                       std::ostream& out, std::ostream& err)
{
    quorvel::QuorvelCtl ctl(paths, out, err, [] { return std::make_unique<quorvel::CtlChart>(); });
    return ctl.run(arguments);
}

static_assert(std::is_same_v<decltype(&quorvel_chart_run), quorvel::CtlChartModule::Entry>);
