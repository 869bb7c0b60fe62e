// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WideUnsigned.hpp"

#include <stdexcept>

namespace quorvel {

WideUnsigned WideUnsigned::fromU128(U128 value)
{
    WideUnsigned result;
    for (int i = 0; i < 4; ++i) {
        result.limbs_[i] = static_cast<std::uint32_t>(value);
        value >>= 32;
    }
    return result;
}

WideUnsigned WideUnsigned::powerOfTen(int exponent)
{
    WideUnsigned result = fromU128(1);
    result.multiplyByPowerOfTen(exponent);
    return result;
}

WideUnsigned WideUnsigned::product(U128 a, U128 b)
{
    std::array<std::uint32_t, 4> x{};
    std::array<std::uint32_t, 4> y{};
    for (int i = 0; i < 4; ++i) {
        x[i] = static_cast<std::uint32_t>(a >> (32 * i));
        y[i] = static_cast<std::uint32_t>(b >> (32 * i));
    }
    WideUnsigned result;
    for (int i = 0; i < 4; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < 4; ++j) {
            std::uint64_t t = static_cast<std::uint64_t>(x[i]) * y[j] + result.limbs_[i + j] + carry;
            result.limbs_[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        result.limbs_[i + 4] = static_cast<std::uint32_t>(carry);
    }
    return result;
}

bool WideUnsigned::isZero() const
{
    for (auto limb : limbs_) {
        if (limb != 0) {
            return false;
        }
    }
    return true;
}

int WideUnsigned::compare(const WideUnsigned& other) const
{
    for (int i = kLimbs - 1; i >= 0; --i) {
        if (limbs_[i] != other.limbs_[i]) {
            return limbs_[i] < other.limbs_[i] ? -1 : 1;
        }
    }
    return 0;
}

bool WideUnsigned::fitsU128() const
{
    for (int i = 4; i < kLimbs; ++i) {
        if (limbs_[i] != 0) {
            return false;
        }
    }
    return true;
}

WideUnsigned::U128 WideUnsigned::toU128() const
{
    U128 value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 32) | limbs_[i];
    }
    return value;
}

int WideUnsigned::digitCount() const
{
    WideUnsigned copy = *this;
    int digits = 0;
    while (!copy.isZero()) {
        copy.divideSmall(10);
        ++digits;
    }
    return digits;
}

void WideUnsigned::multiplySmall(std::uint32_t factor)
{
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
        std::uint64_t t = static_cast<std::uint64_t>(limb) * factor + carry;
        limb = static_cast<std::uint32_t>(t);
        carry = t >> 32;
    }
    if (carry != 0) {
        throw std::overflow_error("WideUnsigned overflow");
    }
}

void WideUnsigned::addSmall(std::uint32_t addend)
{
    std::uint64_t carry = addend;
    for (auto& limb : limbs_) {
        if (carry == 0) {
            return;
        }
        std::uint64_t t = static_cast<std::uint64_t>(limb) + carry;
        limb = static_cast<std::uint32_t>(t);
        carry = t >> 32;
    }
    if (carry != 0) {
        throw std::overflow_error("WideUnsigned overflow");
    }
}

std::uint32_t WideUnsigned::divideSmall(std::uint32_t divisor)
{
    std::uint64_t remainder = 0;
    for (int i = kLimbs - 1; i >= 0; --i) {
        std::uint64_t t = (remainder << 32) | limbs_[i];
        limbs_[i] = static_cast<std::uint32_t>(t / divisor);
        remainder = t % divisor;
    }
    return static_cast<std::uint32_t>(remainder);
}

void WideUnsigned::add(const WideUnsigned& other)
{
    std::uint64_t carry = 0;
    for (int i = 0; i < kLimbs; ++i) {
        std::uint64_t t = static_cast<std::uint64_t>(limbs_[i]) + other.limbs_[i] + carry;
        limbs_[i] = static_cast<std::uint32_t>(t);
        carry = t >> 32;
    }
    if (carry != 0) {
        throw std::overflow_error("WideUnsigned overflow");
    }
}

void WideUnsigned::subtract(const WideUnsigned& other)
{
    std::int64_t borrow = 0;
    for (int i = 0; i < kLimbs; ++i) {
        std::int64_t t = static_cast<std::int64_t>(limbs_[i]) - other.limbs_[i] - borrow;
        borrow = t < 0 ? 1 : 0;
        limbs_[i] = static_cast<std::uint32_t>(t + (borrow << 32));
    }
}

void WideUnsigned::multiplyByPowerOfTen(int exponent)
{
    for (; exponent >= 9; exponent -= 9) {
        multiplySmall(1000000000U);
    }
    for (; exponent > 0; --exponent) {
        multiplySmall(10U);
    }
}

bool WideUnsigned::bit(int index) const
{
    return ((limbs_[index / 32] >> (index % 32)) & 1U) != 0;
}

void WideUnsigned::setBit(int index)
{
    limbs_[index / 32] |= 1U << (index % 32);
}

void WideUnsigned::shiftLeftOne()
{
    std::uint32_t carry = 0;
    for (auto& limb : limbs_) {
        std::uint32_t next = limb >> 31;
        limb = (limb << 1) | carry;
        carry = next;
    }
}

int WideUnsigned::highestBit() const
{
    for (int i = kLimbs - 1; i >= 0; --i) {
        if (limbs_[i] != 0) {
            return i * 32 + 31 - __builtin_clz(limbs_[i]);
        }
    }
    return -1;
}

WideUnsigned WideUnsigned::divide(const WideUnsigned& dividend, const WideUnsigned& divisor,
                                  WideUnsigned& remainder)
{
    if (divisor.isZero()) {
        throw std::domain_error("WideUnsigned division by zero");
    }
    WideUnsigned quotient;
    remainder = WideUnsigned();
    for (int i = dividend.highestBit(); i >= 0; --i) {
        remainder.shiftLeftOne();
        if (dividend.bit(i)) {
            remainder.limbs_[0] |= 1U;
        }
        if (remainder.compare(divisor) >= 0) {
            remainder.subtract(divisor);
            quotient.setBit(i);
        }
    }
    return quotient;
}

}  // namespace quorvel
