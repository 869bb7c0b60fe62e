// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string_view>

namespace quorvel::messages {

// The in-process notifications the screens observe to refresh between updates.
inline constexpr std::string_view kDataUsageWasChanged = "pmsgDataUsageWasChanged";
inline constexpr std::string_view kDeltasCntWasChanged = "pmsgDeltasCntWasChanged";
inline constexpr std::string_view kMonthPlanSettingWasChanged = "MonthPlanSettingWasChanged";

}  // namespace quorvel::messages
