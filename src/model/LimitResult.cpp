#include "model/LimitResult.hpp"

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

int LimitResult::dayKey(Date date)
{
    const DateComponents c = Calendar::components(date);
    return c.year * 10'000 + c.month * 100 + c.day;
}

nlohmann::json LimitResult::toDictionary() const
{
    nlohmann::json d = nlohmann::json::object();
    d["NM_MONTHNAME"] = monthName;
    d["NM_MONTHNUM"] = monthNum;
    const auto put = [&d](const char* key, const auto& value) {
        if (value) {
            d[key] = *value;
        }
    };
    put("NM_PERIODSTART", periodStart);
    put("NM_DAYNUM", dayNum);
    put("NM_DAYDATE", dayDate);
    put("NM_MONTHVAL", monthVal);
    put("NM_MONTHOVAL", monthOVal);
    put("NM_MSG_STRING_DAY", msgDay);
    put("NM_MSG_STRING_MONTH", msgMonth);
    put("NM_MSG_STRING_O_MONTH", msgOMonth);
    return d;
}

}  // namespace quorvel
