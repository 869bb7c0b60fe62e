// SPDX-License-Identifier: GPL-3.0-or-later
// The plain number style writes exactly what ICU writes for an English locale: the command line
// relies on it to leave ICU unloaded. ICU is in this test program, so NumberFormat asks ICU.
#include <gtest/gtest.h>

#include <unicode/locid.h>

#include <cmath>
#include <utility>
#include <vector>

#include "platform/NumberFormat.hpp"
#include "platform/PlainNumberFormat.hpp"

namespace {

using quorvel::NumberFormat;
using quorvel::PlainNumberFormat;

struct EnglishLocale {
    EnglishLocale() { icu::Locale::setDefault(icu::Locale("en_US"), status); }
    ~EnglishLocale() { icu::Locale::setDefault(before, status); }
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale before = icu::Locale::getDefault();
};

TEST(PlainNumberFormat, WritesWhatIcuWritesInEnglish)
{
    const EnglishLocale english;
    std::vector<double> values = {0.0, -0.0, 0.125, 0.15, 0.25, 2.5, 3.5, 0.05, 1.45, 1.535, 9.95, 9.99, 99.96,
                                  -0.04, -2.5, 1e-7, 141.259052, 123456789.25, 1e15 + 0.5, 1e21, 4.35, 0.45,
                                  1023.95, 2047.999, 999.95};
    for (int i = -3000; i <= 3000; i += 7) {
        values.push_back(i / 1000.0);
        values.push_back(i * 1.37);
    }
    const std::pair<int, int> fractions[] = {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {2, 2}, {0, 3}};
    for (const double v : values) {
        for (const auto& [minF, maxF] : fractions) {
            EXPECT_EQ(PlainNumberFormat::formatDecimal(v, minF, maxF), NumberFormat::formatDecimal(v, minF, maxF))
                << v << " with " << minF << " to " << maxF << " fraction digits";
        }
    }
}

TEST(PlainNumberFormat, LeavesWhatIsNoNumberToIcu)
{
    EXPECT_EQ(PlainNumberFormat::formatDecimal(std::nan(""), 0, 1), std::nullopt);
    EXPECT_EQ(PlainNumberFormat::formatDecimal(-INFINITY, 0, 1), std::nullopt);
    EXPECT_FALSE(PlainNumberFormat::coversCurrentLocale()) << "ICU in the process may have another default";
}

}  // namespace
