// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Decimal.hpp"

#include "platform/WideUnsigned.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quorvel {

namespace {

constexpr int kGuardDigits = 40;  // digits kept beyond the smaller operand's reach

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string mantissaDigits(Decimal::Mantissa value)
{
    if (value == 0) {
        return "0";
    }
    std::string text;
    while (value != 0) {
        text.push_back(static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    }
    std::reverse(text.begin(), text.end());
    return text;
}

}  // namespace

Decimal Decimal::notANumber()
{
    Decimal result;
    result.nan_ = true;
    return result;
}

Decimal Decimal::fromParts(bool negative, Mantissa mantissa, int exponent)
{
    return round(negative, WideUnsigned::fromU128(mantissa), exponent, false);
}

// Rounds an exact coefficient (plus a sticky flag for nonzero digits already cut off below
// it) to 38 digits, half to even, within the exponent range.
Decimal Decimal::round(bool negative, WideUnsigned coefficient, long exponent, bool sticky)
{
    const int digitCount = coefficient.digitCount();
    long drop = std::max<long>(0, digitCount - kMaxDigits);
    drop = std::max<long>(drop, kMinExponent - exponent);
    drop = std::min<long>(drop, digitCount + 1L);
    unsigned firstDropped = 0;
    bool restNonzero = sticky;
    for (long i = 0; i < drop; ++i) {
        const unsigned digit = coefficient.divideSmall(10);
        if (i + 1 < drop) {
            restNonzero = restNonzero || digit != 0;
        } else {
            firstDropped = digit;
        }
    }
    if (drop > 0) {
        exponent = std::max<long>(exponent + drop, kMinExponent);
        const bool roundUp = firstDropped > 5 || (firstDropped == 5 && (restNonzero || coefficient.isOdd()));
        if (roundUp) {
            coefficient.addSmall(1);
            if (coefficient.compare(WideUnsigned::powerOfTen(kMaxDigits)) == 0) {
                coefficient.divideSmall(10);
                ++exponent;
            }
        }
    }
    Decimal result;
    if (coefficient.isZero()) {
        return result;
    }
    const WideUnsigned limit = WideUnsigned::powerOfTen(kMaxDigits);
    while (exponent > kMaxExponent) {
        WideUnsigned scaled = coefficient;
        scaled.multiplySmall(10);
        if (scaled.compare(limit) >= 0) {
            return notANumber();  // overflow
        }
        coefficient = scaled;
        --exponent;
    }
    // Strip trailing zeros so that equal values share one representation.
    while (exponent < kMaxExponent) {
        WideUnsigned reduced = coefficient;
        if (reduced.divideSmall(10) != 0) {
            break;
        }
        coefficient = reduced;
        ++exponent;
    }
    result.mantissa_ = coefficient.toU128();
    result.exponent_ = static_cast<int>(exponent);
    result.negative_ = negative;
    return result;
}

Decimal Decimal::add(const Decimal& a, const Decimal& b, bool negateB)
{
    if (a.nan_ || b.nan_) {
        return notANumber();
    }
    const bool bNegative = negateB ? !b.negative_ : b.negative_;
    if (b.mantissa_ == 0) {
        return a;
    }
    if (a.mantissa_ == 0) {
        Decimal result = b;
        result.negative_ = bNegative;
        return result;
    }
    // Order so that `hi` has the larger exponent.
    bool hiNegative = a.negative_;
    bool loNegative = bNegative;
    const Decimal* hi = &a;
    const Decimal* lo = &b;
    if (a.exponent_ < b.exponent_) {
        std::swap(hi, lo);
        std::swap(hiNegative, loNegative);
    }
    WideUnsigned hiValue = WideUnsigned::fromU128(hi->mantissa_);
    WideUnsigned loValue = WideUnsigned::fromU128(lo->mantissa_);
    long exponent = lo->exponent_;
    const int shift = hi->exponent_ - lo->exponent_;
    if (shift > 2 * kMaxDigits) {
        // The smaller operand lies wholly below the rounding digit of the larger one: only its
        // sign and its being nonzero can matter, so stand it in with a single unit far below.
        hiValue.multiplyByPowerOfTen(kGuardDigits);
        loValue = WideUnsigned::fromU128(1);
        exponent = hi->exponent_ - kGuardDigits;
    } else {
        hiValue.multiplyByPowerOfTen(shift);
    }
    if (hiNegative == loNegative) {
        hiValue.add(loValue);
        return round(hiNegative, hiValue, exponent, false);
    }
    const int order = hiValue.compare(loValue);
    if (order == 0) {
        return Decimal();
    }
    if (order > 0) {
        hiValue.subtract(loValue);
        return round(hiNegative, hiValue, exponent, false);
    }
    loValue.subtract(hiValue);
    return round(loNegative, loValue, exponent, false);
}

Decimal Decimal::operator+(const Decimal& other) const
{
    return add(*this, other, false);
}

Decimal Decimal::operator-(const Decimal& other) const
{
    return add(*this, other, true);
}

Decimal Decimal::operator*(const Decimal& other) const
{
    if (nan_ || other.nan_) {
        return notANumber();
    }
    if (mantissa_ == 0 || other.mantissa_ == 0) {
        return Decimal();
    }
    return round(negative_ != other.negative_, WideUnsigned::product(mantissa_, other.mantissa_),
                 static_cast<long>(exponent_) + other.exponent_, false);
}

Decimal Decimal::operator/(const Decimal& other) const
{
    if (nan_ || other.nan_ || other.mantissa_ == 0) {
        return notANumber();
    }
    if (mantissa_ == 0) {
        return Decimal();
    }
    const WideUnsigned divisor = WideUnsigned::fromU128(other.mantissa_);
    WideUnsigned dividend = WideUnsigned::fromU128(mantissa_);
    // Scale the dividend so the quotient carries at least two digits beyond the 38 kept.
    const int scale = std::max(0, kMaxDigits + 2 + divisor.digitCount() - dividend.digitCount());
    dividend.multiplyByPowerOfTen(scale);
    WideUnsigned remainder;
    const WideUnsigned quotient = WideUnsigned::divide(dividend, divisor, remainder);
    const long exponent = static_cast<long>(exponent_) - other.exponent_ - scale;
    return round(negative_ != other.negative_, quotient, exponent, !remainder.isZero());
}

Decimal Decimal::operator-() const
{
    Decimal result = *this;
    if (!nan_ && mantissa_ != 0) {
        result.negative_ = !negative_;
    }
    return result;
}

Decimal Decimal::abs() const
{
    Decimal result = *this;
    if (!nan_) {
        result.negative_ = false;
    }
    return result;
}

Decimal Decimal::ceiling() const
{
    if (nan_ || exponent_ >= 0) {
        return *this;
    }
    WideUnsigned value = WideUnsigned::fromU128(mantissa_);
    bool fraction = false;
    for (int i = 0; i < -exponent_ && !value.isZero(); ++i) {
        fraction = value.divideSmall(10) != 0 || fraction;
    }
    if (fraction && !negative_) {
        value.addSmall(1);
    }
    return round(negative_, value, 0, false);
}

Decimal Decimal::roundedToScale(int fractionDigits) const
{
    if (nan_ || exponent_ >= -fractionDigits) {
        return *this;
    }
    const int drop = -fractionDigits - exponent_;
    WideUnsigned value = WideUnsigned::fromU128(mantissa_);
    unsigned first = 0;
    bool rest = false;
    for (int i = 0; i < drop; ++i) {
        const unsigned digit = value.divideSmall(10);
        if (i + 1 < drop) {
            rest = rest || digit != 0;
        } else {
            first = digit;
        }
    }
    if (first > 5 || (first == 5 && (rest || value.isOdd()))) {
        value.addSmall(1);
    }
    return round(negative_, value, -fractionDigits, false);
}

int Decimal::compare(const Decimal& other) const
{
    if (nan_ || other.nan_) {
        return nan_ == other.nan_ ? 0 : (nan_ ? -1 : 1);
    }
    const int signA = mantissa_ == 0 ? 0 : (negative_ ? -1 : 1);
    const int signB = other.mantissa_ == 0 ? 0 : (other.negative_ ? -1 : 1);
    if (signA != signB || signA == 0) {
        return signA < signB ? -1 : (signA > signB ? 1 : 0);
    }
    const int digitsA = static_cast<int>(mantissaDigits(mantissa_).size());
    const int digitsB = static_cast<int>(mantissaDigits(other.mantissa_).size());
    const int adjustedA = exponent_ + digitsA;
    const int adjustedB = other.exponent_ + digitsB;
    int magnitude = 0;
    if (adjustedA != adjustedB) {
        magnitude = adjustedA < adjustedB ? -1 : 1;
    } else {
        WideUnsigned a = WideUnsigned::fromU128(mantissa_);
        WideUnsigned b = WideUnsigned::fromU128(other.mantissa_);
        a.multiplyByPowerOfTen(kMaxDigits - digitsA);
        b.multiplyByPowerOfTen(kMaxDigits - digitsB);
        magnitude = a.compare(b);
    }
    return signA * magnitude;
}

std::strong_ordering Decimal::operator<=>(const Decimal& other) const
{
    const int order = compare(other);
    return order < 0 ? std::strong_ordering::less
                     : (order > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
}

Decimal Decimal::fromString(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    WideUnsigned coefficient;
    long exponent = 0;
    int kept = 0;
    bool sticky = false;
    bool anyDigit = false;
    bool afterPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !afterPoint) {
            afterPoint = true;
            continue;
        }
        if (!isDigit(c)) {
            break;
        }
        anyDigit = true;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (kept < kMaxDigits + 2 && (kept > 0 || digit != 0)) {
            coefficient.multiplySmall(10);
            coefficient.addSmall(digit);
            ++kept;
            exponent -= afterPoint ? 1 : 0;
        } else if (kept > 0) {
            sticky = sticky || digit != 0;
            exponent += afterPoint ? 0 : 1;
        } else {
            exponent -= afterPoint ? 1 : 0;  // leading zero after the point
        }
    }
    if (!anyDigit) {
        return notANumber();
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            expNegative = text[i] == '-';
            ++i;
        }
        if (i >= text.size() || !isDigit(text[i])) {
            return notANumber();
        }
        long value = 0;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            value = std::min(value * 10 + (text[i] - '0'), 1000000L);
        }
        exponent += expNegative ? -value : value;
    }
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    if (i != text.size()) {
        return notANumber();
    }
    if (coefficient.isZero()) {
        return Decimal();
    }
    return round(negative, coefficient, exponent, sticky);
}

Decimal Decimal::fromDouble(double value)
{
    if (!std::isfinite(value)) {
        return notANumber();
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return fromString(std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())));
}

Decimal Decimal::fromFloat(float value)
{
    if (!std::isfinite(value)) {
        return notANumber();
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return fromString(std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())));
}

std::string Decimal::digits() const
{
    return mantissaDigits(mantissa_);
}

double Decimal::toDouble() const
{
    if (nan_) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const std::string text = (negative_ ? "-" : "") + digits() + "e" + std::to_string(exponent_);
    return std::strtod(text.c_str(), nullptr);
}

float Decimal::toFloat() const
{
    if (nan_) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    const std::string text = (negative_ ? "-" : "") + digits() + "e" + std::to_string(exponent_);
    return std::strtof(text.c_str(), nullptr);
}

std::int64_t Decimal::toInt64() const
{
    if (nan_ || mantissa_ == 0) {
        return 0;
    }
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    const int digitCount = static_cast<int>(digits().size());
    if (digitCount + exponent_ > 19) {
        return negative_ ? kMin : kMax;
    }
    Mantissa value = mantissa_;
    for (int e = exponent_; e > 0; --e) {
        value *= 10;
    }
    for (int e = exponent_; e < 0 && value != 0; ++e) {
        value /= 10;
    }
    if (negative_) {
        return value > static_cast<Mantissa>(kMax) + 1 ? kMin : static_cast<std::int64_t>(Mantissa(0) - value);
    }
    return value > static_cast<Mantissa>(kMax) ? kMax : static_cast<std::int64_t>(value);
}

std::string Decimal::toString() const
{
    if (nan_) {
        return "NaN";
    }
    std::string text = digits();
    if (exponent_ >= 0) {
        if (mantissa_ != 0) {
            text.append(static_cast<std::size_t>(exponent_), '0');
        }
    } else {
        const auto fraction = static_cast<std::size_t>(-exponent_);
        if (text.size() <= fraction) {
            text.insert(0, fraction - text.size() + 1, '0');
        }
        text.insert(text.size() - fraction, ".");
    }
    return negative_ ? "-" + text : text;
}

std::string Decimal::toFixedString(int fractionDigits) const
{
    if (nan_) {
        return "NaN";
    }
    std::string text = roundedToScale(fractionDigits).toString();
    if (fractionDigits <= 0) {
        return text;
    }
    const auto point = text.find('.');
    const std::size_t have = point == std::string::npos ? 0 : text.size() - point - 1;
    if (point == std::string::npos) {
        text.push_back('.');
    }
    text.append(static_cast<std::size_t>(fractionDigits) - have, '0');
    return text;
}

}  // namespace quorvel
