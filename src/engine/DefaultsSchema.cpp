#include "engine/DefaultsSchema.hpp"

#include <array>
#include <utility>

namespace quorvel {

namespace {

enum class Kind { Unsigned, Integer, Number, Boolean, Text, Dictionary };

bool fits(const nlohmann::json& v, Kind kind)
{
    switch (kind) {
    case Kind::Unsigned:
        return v.is_number_unsigned() || (v.is_number_integer() && v.get<std::int64_t>() >= 0);
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
    static constexpr std::array<std::pair<const char*, Kind>, 10> kTop = {{
        {"pkeyDataPlanULL", Kind::Unsigned},
        {"pkeyAutoResetBool", Kind::Boolean},
        {"pkeyAlertMonthLimitBool", Kind::Boolean},
        {"pkeyAlertMonthLimitLong", Kind::Integer},
        {"pkeyAlertDayLimitBool", Kind::Boolean},
        {"pkeyAlertUsageOverboundBool", Kind::Boolean},
        {"pkeyStartedBefore", Kind::Boolean},
        {"SUBSRIBE_TO_NEWS_ASKED", Kind::Boolean},
        {"Preferences_NMDispatcher", Kind::Dictionary},
        {"Preferences_RoamingNotice", Kind::Integer},
    }};
    static constexpr std::array<std::pair<const char*, Kind>, 10> kAlertHistory = {{
        {"NM_MONTHNAME", Kind::Text},
        {"NM_MONTHNUM", Kind::Integer},
        {"NM_DAYNUM", Kind::Integer},
        {"NM_DAYDATE", Kind::Integer},
        {"NM_PERIODSTART", Kind::Integer},
        {"NM_MONTHVAL", Kind::Number},
        {"NM_MONTHOVAL", Kind::Number},
        {"NM_MSG_STRING_DAY", Kind::Text},
        {"NM_MSG_STRING_MONTH", Kind::Text},
        {"NM_MSG_STRING_O_MONTH", Kind::Text},
    }};
    if (auto refused = checkKeys(defaults, kTop)) {
        return refused;
    }
    if (auto history = defaults.find("Preferences_NMDispatcher"); history != defaults.end()) {
        if (auto refused = checkKeys(*history, kAlertHistory)) {
            return "Preferences_NMDispatcher." + *refused;
        }
    }
    return std::nullopt;
}

}  // namespace quorvel
