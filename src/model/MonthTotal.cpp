// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MonthTotal.hpp"

#include <charconv>
#include <cstdio>

#include "model/MonthTraffic.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"
#include "platform/Calendar.hpp"

namespace quorvel {

namespace {

bool validMonth(std::int64_t year, std::int64_t month)
{
    return year >= 1970 && year <= 9999 && month >= 1 && month <= 12;
}

}  // namespace

MonthTotal::MonthTotal(int year, int month, std::uint64_t used, std::uint64_t free, std::uint64_t roaming,
                       std::optional<std::uint64_t> plan)
    : year_(year), month_(month), used_(used), free_(free), roaming_(roaming), plan_(plan)
{
    QV_REQUIRE(validMonth(year, month), "a month total names a month from 1970 on");
}

MonthTotal MonthTotal::of(const MonthTraffic& month)
{
    QV_REQUIRE(month.date().has_value(), "the totals of a calendar month need its date");
    const DateComponents c = Calendar::components(*month.date());
    std::uint64_t free = 0;
    std::uint64_t roaming = 0;
    for (const CTrafficPoint& p : month.arrDaysTraffics()) {
        free += p.getFreeTraffic();
        roaming += p.getRoamingTraffic();
    }
    return MonthTotal(c.year, c.month, month.getDataUsed(), free, roaming, month.pMonthPlan());
}

std::string MonthTotal::text() const
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d", year_, month_);
    return buf;
}

std::optional<MonthTotal> MonthTotal::parseMonth(std::string_view text)
{
    int year = 0;
    int month = 0;
    if (text.size() != 7 || text[4] != '-') {
        return std::nullopt;
    }
    const char* b = text.data();
    const auto y = std::from_chars(b, b + 4, year);
    const auto m = std::from_chars(b + 5, b + 7, month);
    if (y.ptr != b + 4 || m.ptr != b + 7 || !validMonth(year, month)) {
        return std::nullopt;
    }
    return MonthTotal(year, month, 0, 0, 0, std::nullopt);
}

int MonthTotal::keyPlusMonths(int n) const
{
    const int index = year_ * 12 + (month_ - 1) + n;
    return (index / 12) * 100 + index % 12 + 1;
}

void MonthTotal::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeInt64("Year", year_);
    coder.encodeInt64("Month", month_);
    coder.encodeUInt64("Used", used_);
    coder.encodeUInt64("Free", free_);
    coder.encodeUInt64("Roaming", roaming_);
    coder.encodeUInt64("Plan", plan_);
}

std::unique_ptr<MonthTotal> MonthTotal::initWithCoder(ArchiveDecoder& coder)
{
    const std::optional<std::int64_t> year = coder.decodeInt64("Year");
    const std::optional<std::int64_t> month = coder.decodeInt64("Month");
    const std::optional<std::uint64_t> used = coder.decodeByteCount("Used");
    if (!year || !month || !validMonth(*year, *month) || !used) {
        coder.fail("MonthTotal", "a month from 1970 on and its used bytes");
    }
    return std::make_unique<MonthTotal>(static_cast<int>(*year), static_cast<int>(*month), *used,
                                        coder.decodeByteCount("Free").value_or(0),
                                        coder.decodeByteCount("Roaming").value_or(0), coder.decodeByteCount("Plan"));
}

}  // namespace quorvel
