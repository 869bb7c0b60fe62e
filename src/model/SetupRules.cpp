// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SetupRules.hpp"

#include <cmath>
#include <limits>

#include "platform/NumberFormat.hpp"

namespace quorvel {

namespace {

// The entry as a whole signed 64-bit number (fraction truncated), or absent when its value lies
// outside that range. Empty reads as 0, unreadable as `unreadable`.
std::optional<std::int64_t> wholeNumber(std::string_view text, double unreadable)
{
    const double value = text.empty() ? 0.0 : NumberFormat::parseDecimal(text).value_or(unreadable);
    const double truncated = std::trunc(value);
    if (!(truncated > -9223372036854775808.0 && truncated < 9223372036854775808.0)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(truncated);
}

// Megabytes to bytes, absent when the product leaves the signed 64-bit range.
std::optional<std::int64_t> megabytes(std::int64_t mb)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max() / SetupRules::kBytesPerMegabyte;
    if (mb > kMax || mb < -kMax) {
        return std::nullopt;
    }
    return mb * SetupRules::kBytesPerMegabyte;
}

}  // namespace

std::optional<std::uint64_t> SetupRules::planFromEntry(std::string_view text)
{
    const std::optional<std::int64_t> mb = wholeNumber(text, 0.0);
    const std::optional<std::int64_t> bytes = mb ? megabytes(*mb) : std::nullopt;
    if (!bytes || *bytes <= 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(*bytes);
}

std::optional<std::int32_t> SetupRules::startDayFromEntry(std::string_view text)
{
    const std::optional<std::int64_t> day = wholeNumber(text, 1.0);
    if (!day || *day < 1 || *day > 31) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*day);
}

std::optional<std::uint64_t> SetupRules::usedFromEntry(std::string_view text)
{
    if (NumberFormat::parseDecimal(text).value_or(0.0) < 0.0) {
        return 0;  // however far below zero
    }
    const std::optional<std::int64_t> mb = wholeNumber(text, 0.0);
    const std::optional<std::int64_t> bytes = mb ? megabytes(*mb) : std::nullopt;
    if (!bytes) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(*bytes);
}

}  // namespace quorvel
