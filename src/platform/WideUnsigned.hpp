// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace quorvel {

// Fixed-width 384-bit unsigned integer: room for the exact intermediate results of
// 38-digit decimal arithmetic (products, aligned sums, scaled dividends) before rounding.
class WideUnsigned {
public:
    using U128 = unsigned __int128;
    static constexpr int kLimbs = 12;

    WideUnsigned() = default;
    static WideUnsigned fromU128(U128 value);
    static WideUnsigned powerOfTen(int exponent);
    static WideUnsigned product(U128 a, U128 b);

    bool isZero() const;
    bool isOdd() const { return (limbs_[0] & 1U) != 0; }
    int compare(const WideUnsigned& other) const;
    bool fitsU128() const;
    U128 toU128() const;
    int digitCount() const;

    void multiplySmall(std::uint32_t factor);
    void addSmall(std::uint32_t addend);
    std::uint32_t divideSmall(std::uint32_t divisor);  // returns the remainder
    void add(const WideUnsigned& other);
    void subtract(const WideUnsigned& other);           // requires *this >= other
    void multiplyByPowerOfTen(int exponent);

    // Long division; the remainder goes to `remainder`.
    static WideUnsigned divide(const WideUnsigned& dividend, const WideUnsigned& divisor,
                               WideUnsigned& remainder);

private:
    bool bit(int index) const;
    void setBit(int index);
    void shiftLeftOne();
    int highestBit() const;

    std::array<std::uint32_t, kLimbs> limbs_{};
};

}  // namespace quorvel
