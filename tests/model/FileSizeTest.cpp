// SPDX-License-Identifier: GPL-3.0-or-later
// Byte amounts as texts: unit boundaries, rounding, and a comma-decimal locale.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include <unicode/locid.h>

#include "model/FileSize.hpp"

namespace quorvel {
namespace {

struct Case {
    std::uint64_t bytes;
    const char* adaptive;
    const char* megabytes;
};

const Case kCases[] = {
    {0, "0 MB", "0 MB"},
    {512, "512 Bytes", "0 MB"},
    {999, "999 Bytes", "0 MB"},
    {1000, "1 KB", "0 MB"},
    {1125, "1.12 KB", "0 MB"},  // an exact tie rounds to the even digit
    {1536, "1.54 KB", "0 MB"},
    {2500, "2.5 KB", "0 MB"},
    {9'999, "10 KB", "0 MB"},
    {10'000, "10 KB", "0.01 MB"},
    {123'456, "123.5 KB", "0.12 MB"},  // from 100 on, one fraction digit
    {250'000, "250 KB", "0.25 MB"},
    {999'999, "1000 KB", "1.00 MB"},
    {1'000'000, "1 MB", "1 MB"},
    {1'500'000, "1.5 MB", "2 MB"},
    {123'456'789, "123.5 MB", "123 MB"},
    {2'000'000'000, "2 GB", "2000 MB"},
    {2'048'000'000, "2.05 GB", "2048 MB"},
    {1'000'000'000'000, "1 TB", "1000000 MB"},
    {1'000'000'000'000'000, "1 PB", "1000000000 MB"},
    {1'000'000'000'000'000'000, "1", "1000000000000 MB"},  // beyond the unit table: the bare number
    {std::numeric_limits<std::uint64_t>::max(), "18.45", "18446744073710 MB"},
};

TEST(FileSize, AdaptiveAndMegabyteTextsAndAbsentNumbers)
{
    for (const Case& c : kCases) {
        EXPECT_EQ(FileSize::formatMemoryStringDot1(c.bytes), c.adaptive) << c.bytes;
        EXPECT_EQ(FileSize::formatMemoryStringDot0MB(c.bytes), c.megabytes) << c.bytes;
    }
    EXPECT_EQ(FileSize::formatMemoryStringDot1NSnum(std::nullopt), "0 MB");
    EXPECT_EQ(FileSize::formatMemoryStringDot1NSnum(1536), "1.54 KB");
}

// Switches ICU's default locale for the life of the object.
class ScopedIcuLocale {
public:
    explicit ScopedIcuLocale(const char* name)
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale(name), status);
    }
    ~ScopedIcuLocale()
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(old_, status);
    }

private:
    icu::Locale old_ = icu::Locale::getDefault();
};

TEST(FileSize, DecimalPointAndNoGroupingInACommaLocale)
{
    ScopedIcuLocale german("de_DE");  // "1,54" and "1.000" there
    for (const Case& c : kCases) {
        EXPECT_EQ(FileSize::formatMemoryStringDot1(c.bytes), c.adaptive) << c.bytes;
        EXPECT_EQ(FileSize::formatMemoryStringDot0MB(c.bytes), c.megabytes) << c.bytes;
    }
}

}  // namespace
}  // namespace quorvel
