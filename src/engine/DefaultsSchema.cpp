// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DefaultsSchema.hpp"

#include "model/DefaultsKeys.hpp"
#include "platform/ArchiveDecoder.hpp"

namespace quorvel {

namespace {

using Kind = DefaultsKeys::Kind;

bool fits(const nlohmann::json& v, Kind kind)
{
    switch (kind) {
    case Kind::Unsigned:
        return ArchiveDecoder::unsignedValue(v).has_value();
    case Kind::Integer:
        return v.is_number_integer();
    case Kind::Number:
        return v.is_number();
    case Kind::Boolean:
        return v.is_boolean();
    case Kind::Text:
        return v.is_string();
    case Kind::Dictionary:
        return v.is_object();
    }
    return false;
}

std::optional<std::string> checkKeys(const nlohmann::json& object, const auto& keys)
{
    for (const auto& [key, kind] : keys) {
        auto it = object.find(key);
        if (it != object.end() && !fits(*it, kind)) {
            return std::string(key) + " holds " + it->type_name();
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> DefaultsSchema::check(const nlohmann::json& defaults)
{
    if (auto refused = checkKeys(defaults, DefaultsKeys::kTopLevel)) {
        return refused;
    }
    if (auto history = defaults.find(DefaultsKeys::kAlertHistory); history != defaults.end()) {
        if (auto refused = checkAlertHistory(*history)) {
            return std::string(DefaultsKeys::kAlertHistory) + "." + *refused;
        }
    }
    return std::nullopt;
}

std::optional<std::string> DefaultsSchema::checkAlertHistory(const nlohmann::json& history)
{
    if (!history.is_object()) {
        return std::string("the alert history holds ") + history.type_name();
    }
    return checkKeys(history, DefaultsKeys::kAlertHistoryEntries);
}

}  // namespace quorvel
