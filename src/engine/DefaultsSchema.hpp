// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace quorvel {

// The types of the user-defaults keys Quorvel writes. A defaults file in which one of them holds
// another type was not written by Quorvel as it is, and is moved aside rather than half-read;
// keys it does not know are kept as they are.
class DefaultsSchema {
public:
    // Why the stored object is unusable, or nothing.
    static std::optional<std::string> check(const nlohmann::json& defaults);
    // The same for an alert history on its own (a SIM's, kept in the state).
    static std::optional<std::string> checkAlertHistory(const nlohmann::json& history);
};

}  // namespace quorvel
