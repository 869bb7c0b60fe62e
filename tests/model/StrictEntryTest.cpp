// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers typed on the command line: a plain number or nothing, never a guess.
#include <gtest/gtest.h>

#include "model/StrictEntry.hpp"

namespace quorvel {
namespace {

struct MegabyteCase {
    const char* text;
    const char* separator;
    std::optional<std::uint64_t> bytes;  // absent: refused
};

TEST(StrictEntry, MegabytesArePlainDigitsWithAtMostOneDecimalPoint)
{
    const MegabyteCase cases[] = {
        {"500", ".", 500'000'000},
        {"0", ".", 0},
        {"007", ".", 7'000'000},
        {"1.5", ".", 1'500'000},
        {"1,5", ",", 1'500'000},        // the locale's separator
        {"1.5", ",", 1'500'000},        // '.' always
        {".25", ".", 250'000},
        {"3.", ".", 3'000'000},
        {"0.0000015", ".", 1},          // below a byte is dropped
        {"9007199254", ".", 9'007'199'254'000'000},
        {"9007199254.740992", ".", 9'007'199'254'740'992},  // 2^53 bytes: what the state file reads back
        {"9007199254.740993", ".", std::nullopt},
        {"9007199255", ".", std::nullopt},
        {"9223372036854", ".", std::nullopt},
        {"99999999999999999999999", ".", std::nullopt},
        {"5O0", ".", std::nullopt},     // a letter O for a zero
        {"1,5x", ",", std::nullopt},
        {"1,5", ".", std::nullopt},     // a comma where it is no separator
        {"abc", ".", std::nullopt},
        {"", ".", std::nullopt},
        {".", ".", std::nullopt},
        {"+5", ".", std::nullopt},
        {"-5", ".", std::nullopt},
        {"1e3", ".", std::nullopt},
        {" 5", ".", std::nullopt},
        {"5 ", ".", std::nullopt},
        {"1.2.3", ".", std::nullopt},
        {"1,2.3", ",", std::nullopt},
        {"1 000", ".", std::nullopt},
        {"５", ".", std::nullopt},  // digits other than ASCII
        {"0x10", ".", std::nullopt},
    };
    for (const MegabyteCase& c : cases) {
        const auto read = StrictEntry::megabytes(c.text, c.separator, false);
        EXPECT_EQ(read.value, c.bytes) << "'" << c.text << "' with '" << c.separator << "'";
        EXPECT_EQ(read.why.empty(), c.bytes.has_value()) << c.text << ": " << read.why;
    }
}

TEST(StrictEntry, APlanMustBeMoreThanNothingAndRefusalsSayWhatWasTyped)
{
    EXPECT_FALSE(StrictEntry::megabytes("0", ".", true).value);
    EXPECT_FALSE(StrictEntry::megabytes("0.0000001", ".", true).value) << "rounds down to no byte";
    EXPECT_EQ(StrictEntry::megabytes("0.000001", ".", true).value, 1u);
    EXPECT_NE(StrictEntry::megabytes("5O0", ".", true).why.find("'5O0'"), std::string::npos);
    EXPECT_NE(StrictEntry::megabytes("0", ".", true).why.find("'0'"), std::string::npos);
}

TEST(StrictEntry, AStartDayIsAWholeNumberFromOneTo31)
{
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"1", 1},       {"15", 15},      {"31", 31},           {"01", 1},           {"0", std::nullopt},
        {"32", std::nullopt}, {"1S", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt},
        {"+3", std::nullopt}, {"15.0", std::nullopt}, {"1.5", std::nullopt}, {" 3", std::nullopt},
        {"4294967297", std::nullopt},  // wraps to 1 in 32 bits
    };
    for (const auto& [text, day] : cases) {
        const auto read = StrictEntry::startDay(text);
        EXPECT_EQ(read.value, day) << "'" << text << "'";
        EXPECT_EQ(read.why.empty(), day.has_value()) << text;
    }
}

}  // namespace
}  // namespace quorvel
