// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace quorvel {

class WideUnsigned;

// Exact decimal number: a mantissa of at most 38 decimal digits, a power-of-ten exponent
// (-128 .. 127), a sign, and a distinguished not-a-number value. Results of arithmetic are
// rounded half to even at 38 significant digits; results too small for the exponent range
// round to a multiple of 10^-128, results too large for it become not-a-number. Zero carries
// no sign and trailing zeros are stripped, so equal values have equal representations.
//
// Ordering is total: not-a-number equals itself and sorts below every number, so ranges
// and sets of decimals never meet an unordered pair.
class Decimal {
public:
    using Mantissa = unsigned __int128;
    static constexpr int kMaxDigits = 38;
    static constexpr int kMinExponent = -128;
    static constexpr int kMaxExponent = 127;

    Decimal() = default;  // zero

    template <std::integral T>
    static Decimal fromInteger(T value)
    {
        if constexpr (std::is_signed_v<T>) {
            const bool negative = value < 0;
            // Two's-complement magnitude: safe for the minimum value of every width.
            const auto magnitude = negative ? Mantissa(0) - static_cast<Mantissa>(static_cast<__int128>(value))
                                            : static_cast<Mantissa>(value);
            return fromParts(negative, magnitude, 0);
        } else {
            return fromParts(false, static_cast<Mantissa>(value), 0);
        }
    }
    static Decimal fromDouble(double value);
    static Decimal fromFloat(float value);
    // Plain or scientific notation ("12", "-0.5", "1e-3"); anything else is not-a-number.
    static Decimal fromString(std::string_view text);
    static Decimal notANumber();
    // Exact mantissa and exponent, rounded to 38 digits when the mantissa is longer.
    static Decimal fromParts(bool negative, Mantissa mantissa, int exponent);

    bool isNaN() const { return nan_; }
    bool isZero() const { return !nan_ && mantissa_ == 0; }
    bool isNegative() const { return negative_; }
    Mantissa mantissa() const { return mantissa_; }
    int exponent() const { return exponent_; }

    Decimal operator+(const Decimal& other) const;
    Decimal operator-(const Decimal& other) const;
    Decimal operator*(const Decimal& other) const;
    Decimal operator/(const Decimal& other) const;  // x / 0 is not-a-number
    Decimal operator-() const;
    Decimal abs() const;
    // Rounds to a whole number toward positive infinity.
    Decimal ceiling() const;
    // Rounds half to even to the given number of fraction digits.
    Decimal roundedToScale(int fractionDigits) const;

    int compare(const Decimal& other) const;  // -1, 0, 1
    bool operator==(const Decimal& other) const { return compare(other) == 0; }
    std::strong_ordering operator<=>(const Decimal& other) const;

    double toDouble() const;  // not-a-number gives a quiet NaN
    float toFloat() const;
    // Truncates toward zero and saturates at the type's limits; not-a-number gives 0.
    std::int64_t toInt64() const;
    // Plain notation, e.g. "-0.0125" or "1500"; "NaN" for not-a-number.
    std::string toString() const;
    // Plain notation with exactly the given number of fraction digits (rounded half to even).
    std::string toFixedString(int fractionDigits) const;

private:
    static Decimal round(bool negative, WideUnsigned coefficient, long exponent, bool sticky);
    static Decimal add(const Decimal& a, const Decimal& b, bool negateB);
    std::string digits() const;

    Mantissa mantissa_ = 0;
    int exponent_ = 0;
    bool negative_ = false;
    bool nan_ = false;
};

}  // namespace quorvel
