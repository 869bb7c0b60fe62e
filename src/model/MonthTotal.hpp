// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Date.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;
class MonthTraffic;

// What is kept of a calendar month once its day records are gone: the data used (charged bytes
// with its corrections), the free hours' and the roaming shares, and the plan it had. A value type.
class MonthTotal {
public:
    static constexpr std::string_view kClassName = "MonthTotal";

    MonthTotal(int year, int month, std::uint64_t used, std::uint64_t free, std::uint64_t roaming,
               std::optional<std::uint64_t> plan);
    // The totals of a calendar-month record (one with a date).
    static MonthTotal of(const MonthTraffic& month);

    int year() const { return year_; }
    int month() const { return month_; }
    // YYYYMM: the order of months, and which two records stand for the same one.
    int key() const { return year_ * 100 + month_; }
    std::string text() const;  // "YYYY-MM"
    // "YYYY-MM" naming a month from 1970 on; anything else is refused.
    static std::optional<MonthTotal> parseMonth(std::string_view text);
    // The month `n` months after this one (before it when negative).
    int keyPlusMonths(int n) const;

    std::uint64_t used() const { return used_; }
    std::uint64_t free() const { return free_; }
    std::uint64_t roaming() const { return roaming_; }
    const std::optional<std::uint64_t>& plan() const { return plan_; }
    // Another count of the same month: the larger amount is the one kept, whole.
    bool exceeds(const MonthTotal& other) const { return used_ > other.used_; }

    friend bool operator==(const MonthTotal&, const MonthTotal&) = default;

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<MonthTotal> initWithCoder(ArchiveDecoder& coder);

private:
    int year_;
    int month_;
    std::uint64_t used_;
    std::uint64_t free_;
    std::uint64_t roaming_;
    std::optional<std::uint64_t> plan_;
};

}  // namespace quorvel
