// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/PrefTexts.hpp"

#include "model/DefaultsKeys.hpp"
#include "model/FileSize.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel {

std::string PrefTexts::getBgImageforIndexPath(int row, int rowsInSection, bool tablet)
{
    const char* name = "tabrow_center";
    if (row == 0) {
        name = rowsInSection == 1 ? "tabrow" : "tabrow_up";
    } else if (row == rowsInSection - 1) {
        name = "tabrow_down";
    }
    return (tablet ? std::string("ipad_") : std::string()) + name;
}

std::string PrefTexts::planRow(std::uint64_t planBytes)
{
    return "Data Plan - " + FileSize::formatMemoryStringDot1NSnum(planBytes);
}

std::string PrefTexts::startDayRow(std::int32_t day)
{
    return "Plan Start Day - " + std::to_string(day);
}

std::string PrefTexts::periodRow(const std::string& shapeSummary)
{
    return "Plan Period - " + shapeSummary;
}

std::string PrefTexts::packsRow(std::size_t count)
{
    return "Data Packs - " + (count == 0 ? std::string("None") : std::to_string(count));
}

std::string PrefTexts::simsRow(std::size_t count)
{
    return "SIMs - " + (count == 0 ? std::string("None") : std::to_string(count));
}

std::string PrefTexts::operatorRow(const std::optional<std::string>& name)
{
    return "Operator - " + (name ? *name : std::string("Unknown"));
}

std::string PrefTexts::thisMonthRow(std::uint64_t usedBytes)
{
    return "This Month Data Usage (" + FileSize::formatMemoryStringDot1(usedBytes) + ")";
}

std::string PrefTexts::locationsRow(std::int32_t count)
{
    return count >= 1 ? "Locations (" + std::to_string(count) + ")" : std::string("Locations");
}

std::string PrefTexts::settingsFooter(int section)
{
    switch (section) {
    case 0:
        return kFooterPlan;
    case 1:
        return kFooterAlerts;
    case 3:
        return kFooterInformation;
    default:
        return "";
    }
}

int PrefTexts::settingsFooterHeight(int section, bool tablet)
{
    if (tablet) {
        return 40;
    }
    static constexpr int kPhone[] = {25, 25, 0, 35};
    return section >= 0 && section < 4 ? kPhone[section] : 10;
}

std::uint64_t PrefTexts::planPreference(const UserDefaults& defaults)
{
    return defaults.unsigned64ForKey(DefaultsKeys::kPlan).value_or(kPlanWithoutPreference);
}

}  // namespace quorvel
