// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/LimitResult.hpp"

#include "model/DefaultsKeys.hpp"

#include "model/DateDay.hpp"
#include "platform/Calendar.hpp"

namespace quorvel {

LimitResult LimitResult::createDefResultDictionary(Date now)
{
    LimitResult r;
    r.monthName = DateDay::getMonthName(now);
    r.monthNum = DateDay::getMonthNumber(now);
    return r;
}

nlohmann::json LimitResult::toDictionary() const
{
    nlohmann::json d = nlohmann::json::object();
    d[DefaultsKeys::kMonthName] = monthName;
    d[DefaultsKeys::kMonthNumber] = monthNum;
    const auto put = [&d](const char* key, const auto& value) {
        if (value) {
            d[key] = *value;
        }
    };
    put(DefaultsKeys::kPeriodStart, periodStart);
    put(DefaultsKeys::kDayNumber, dayNum);
    put(DefaultsKeys::kDayDate, dayDate);
    put(DefaultsKeys::kMonthLevel, monthVal);
    put(DefaultsKeys::kOverboundLevel, monthOVal);
    put(DefaultsKeys::kDayMessage, msgDay);
    put(DefaultsKeys::kMonthMessage, msgMonth);
    put(DefaultsKeys::kOverboundMessage, msgOMonth);
    return d;
}

}  // namespace quorvel
