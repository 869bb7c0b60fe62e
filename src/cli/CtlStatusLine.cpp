// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlStatusLine.hpp"

#include <nlohmann/json.hpp>

#include "cli/CtlReport.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/FileSize.hpp"
#include "model/MainScreenFigures.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

std::string CtlStatusLine::oneLine(const FTrafficDataInformation& s, Date today)
{
    const MainScreenFigures f = MainScreenFigures::fromSummary(s, today);
    if (const auto& facts = s.planFacts(); facts && facts->expired) {
        return Translation::fill(_("Plan expired on %s \u00B7 %s used"), {facts->periodLast.text(), f.used});
    }
    const std::uint64_t plan = s.pDataPlan().value_or(0);
    const std::uint64_t used = s.pDataUsed().value_or(0);
    // Past the plan nothing is left; how far past it says more.
    const std::string left = used > plan ? Translation::fill(_("%s over"), {FileSize::formatMemoryStringDot1(used - plan)})
                                         : Translation::fill(_("%s left"), {f.left});
    // Translators: used, plan, the share with its per cent sign, what is left, the days left.
    return Translation::fill(_("%s of %s (%s) \u00B7 %s \u00B7 %s left"),
                             {f.used, f.plan, std::to_string(f.percent) + "%", left, f.cycleLeft});
}

std::string CtlStatusLine::waybar(const FTrafficDataInformation& s, Date today)
{
    const MainScreenFigures f = MainScreenFigures::fromSummary(s, today);
    std::string tooltip;
    for (const auto& [label, value] : CtlReport::figureRows(s, f)) {
        tooltip += (tooltip.empty() ? "" : "\n") + label + ": " + value;
    }
    const bool expired = s.planFacts() && s.planFacts()->expired;
    const nlohmann::ordered_json j = {
        {"text", expired ? std::string(_("Plan expired")) : Translation::fill(_("%s of %s"), {f.used, f.plan})},
        {"tooltip", tooltip},
        {"class", expired ? "critical" : level(f.percent)},
        {"percentage", f.percent}};
    return j.dump();
}

const char* CtlStatusLine::level(long long percent)
{
    if (percent >= 100) {
        return "critical";
    }
    return percent >= 90 ? "warning" : "normal";
}

}  // namespace quorvel
