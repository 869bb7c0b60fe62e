// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Decimal.hpp"

#include <cmath>
#include <concepts>
#include <variant>

namespace quorvel {

// A number as a data source hands it over: nothing (a null placeholder), a double, or an
// exact decimal. Integers become doubles, as every non-decimal number does.
class CPTNumber {
public:
    CPTNumber() = default;  // null placeholder
    CPTNumber(double value) : value_(value) {}
    CPTNumber(const Decimal& value) : value_(value) {}
    template <std::integral T>
    CPTNumber(T value) : value_(static_cast<double>(value)) {}

    static CPTNumber null() { return {}; }
    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    bool isDecimal() const { return std::holds_alternative<Decimal>(value_); }

    // Null reads as NaN / not-a-number.
    double doubleValue() const
    {
        if (const auto* d = std::get_if<double>(&value_)) {
            return *d;
        }
        if (const auto* dec = std::get_if<Decimal>(&value_)) {
            return dec->toDouble();
        }
        return std::nan("");
    }
    Decimal decimalValue() const
    {
        if (const auto* d = std::get_if<double>(&value_)) {
            return Decimal::fromDouble(*d);
        }
        if (const auto* dec = std::get_if<Decimal>(&value_)) {
            return *dec;
        }
        return Decimal::notANumber();
    }

private:
    std::variant<std::monostate, double, Decimal> value_;
};

}  // namespace quorvel
