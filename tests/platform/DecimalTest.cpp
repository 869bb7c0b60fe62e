// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Decimal.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using quorvel::Decimal;

namespace {

std::string mantissaText(Decimal::Mantissa value)
{
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return text;
}

// The table's canonical form: <mantissa>E<exponent>, "0", or "NaN".
std::string canonical(const Decimal& d)
{
    if (d.isNaN()) {
        return "NaN";
    }
    if (d.isZero()) {
        return "0";
    }
    return (d.isNegative() ? "-" : "") + mantissaText(d.mantissa()) + "E" + std::to_string(d.exponent());
}

struct TableCase {
    int line;
    std::vector<std::string> fields;
};

std::vector<TableCase> readTable()
{
    std::ifstream in(std::string(QUORVEL_TEST_DATA) + "/decimal_cases.txt");
    std::vector<TableCase> cases;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        if (text.empty() || text[0] == '#') {
            continue;
        }
        std::istringstream words(text);
        TableCase c{line, {}};
        for (std::string w; words >> w;) {
            c.fields.push_back(w);
        }
        cases.push_back(c);
    }
    return cases;
}

Decimal apply(const std::string& op, const Decimal& a, const Decimal& b)
{
    if (op == "add") {
        return a + b;
    }
    if (op == "sub") {
        return a - b;
    }
    if (op == "mul") {
        return a * b;
    }
    return a / b;
}

}  // namespace

TEST(DecimalReferenceTable, EveryCaseMatchesThePythonDecimalOracle)
{
    const auto cases = readTable();
    ASSERT_GT(cases.size(), 600U);
    int checked = 0;
    for (const auto& c : cases) {
        const auto& f = c.fields;
        SCOPED_TRACE("table line " + std::to_string(c.line));
        if (f[0] == "add" || f[0] == "sub" || f[0] == "mul" || f[0] == "div") {
            const Decimal a = Decimal::fromString(f[1]);
            const Decimal b = Decimal::fromString(f[2]);
            ASSERT_EQ(canonical(a), f[1]);
            ASSERT_EQ(canonical(b), f[2]);
            EXPECT_EQ(canonical(apply(f[0], a, b)), f[3]) << f[0] << " " << f[1] << " " << f[2];
        } else if (f[0] == "cmp") {
            EXPECT_EQ(Decimal::fromString(f[1]).compare(Decimal::fromString(f[2])), std::stoi(f[3]));
        } else if (f[0] == "fromdouble") {
            const double value = std::strtod(f[1].c_str(), nullptr);
            EXPECT_EQ(canonical(Decimal::fromDouble(value)), f[2]) << f[1];
        } else if (f[0] == "todouble") {
            const double expected = std::strtod(f[2].c_str(), nullptr);
            EXPECT_EQ(Decimal::fromString(f[1]).toDouble(), expected) << f[1];
        } else if (f[0] == "tostring") {
            EXPECT_EQ(Decimal::fromString(f[1]).toString(), f[2]);
        } else {
            ADD_FAILURE() << "unknown operation " << f[0];
        }
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(cases.size()));
}

TEST(Decimal, IntegersOfEveryWidthAreExact)
{
    EXPECT_EQ(Decimal::fromInteger(static_cast<signed char>(-128)).toString(), "-128");
    EXPECT_EQ(Decimal::fromInteger(static_cast<unsigned short>(65535)).toString(), "65535");
    EXPECT_EQ(Decimal::fromInteger(2).toString(), "2");
    EXPECT_EQ(Decimal::fromInteger(0U).toString(), "0");
    EXPECT_EQ(Decimal::fromInteger(std::numeric_limits<long long>::min()).toString(), "-9223372036854775808");
    EXPECT_EQ(Decimal::fromInteger(std::numeric_limits<unsigned long long>::max()).toString(),
              "18446744073709551615");
    EXPECT_EQ(Decimal::fromInteger(1000).exponent(), 3);  // trailing zeros are folded into the exponent
}

TEST(Decimal, FloatsConvertThroughTheirShortestText)
{
    EXPECT_EQ(Decimal::fromFloat(9.7F).toString(), "9.7");
    EXPECT_EQ(Decimal::fromFloat(-10.0F).toString(), "-10");
    EXPECT_EQ(Decimal::fromDouble(0.8).toString(), "0.8");
    EXPECT_EQ(Decimal::fromDouble(-0.0).toString(), "0");
    EXPECT_TRUE(Decimal::fromDouble(std::nan("")).isNaN());
    EXPECT_TRUE(Decimal::fromDouble(INFINITY).isNaN());
    EXPECT_FLOAT_EQ(Decimal::fromString("9.7").toFloat(), 9.7F);
}

TEST(Decimal, StringsThatAreNotNumbersGiveNotANumber)
{
    for (const char* text : {"", "-", ".", "abc", "5abc", "1e", "1e+", "--1", "1.2.3"}) {
        EXPECT_TRUE(Decimal::fromString(text).isNaN()) << '"' << text << '"';
    }
    EXPECT_EQ(Decimal::fromString(" 20 ").toString(), "20");
    EXPECT_EQ(Decimal::fromString("+.5").toString(), "0.5");
    EXPECT_EQ(Decimal::fromString("1e99999999999").isNaN(), true);  // far past the range
    EXPECT_TRUE(Decimal::fromString("1e-99999999999").isZero());
}

TEST(Decimal, NotANumberPropagatesAndOrdersBelowNumbers)
{
    const Decimal nan = Decimal::notANumber();
    const Decimal one = Decimal::fromInteger(1);
    EXPECT_TRUE((nan + one).isNaN());
    EXPECT_TRUE((one * nan).isNaN());
    EXPECT_TRUE((one / Decimal()).isNaN());
    EXPECT_TRUE((Decimal() / Decimal()).isNaN());
    EXPECT_EQ(nan, Decimal::notANumber());
    EXPECT_LT(nan, Decimal::fromInteger(-1000000));
    EXPECT_TRUE(std::isnan(nan.toDouble()));
    EXPECT_EQ(nan.toInt64(), 0);
    EXPECT_EQ(nan.toString(), "NaN");
}

TEST(Decimal, IntegerConversionTruncatesAndSaturates)
{
    struct Case {
        const char* text;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"2.9", 2},
        {"-2.9", -2},
        {"0.0001", 0},
        {"1e18", 1000000000000000000LL},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"9223372036854775808", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"-1e30", std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decimal::fromString(c.text).toInt64(), c.expected) << c.text;
    }
}

TEST(Decimal, CeilingAndFixedScaleRounding)
{
    struct Case {
        const char* text;
        const char* ceiling;
        const char* oneFractionDigit;
    };
    const Case cases[] = {
        {"-0.1", "0", "-0.1"},
        {"0.1", "1", "0.1"},
        {"5", "5", "5.0"},
        {"-5.5", "-5", "-5.5"},
        {"0.25", "1", "0.2"},
        {"0.35", "1", "0.4"},
        {"-2.05", "-2", "-2.0"},
        {"1e-128", "1", "0.0"},
    };
    for (const auto& c : cases) {
        const Decimal d = Decimal::fromString(c.text);
        EXPECT_EQ(d.ceiling().toString(), c.ceiling) << c.text;
        EXPECT_EQ(d.toFixedString(1), c.oneFractionDigit) << c.text;
    }
}
