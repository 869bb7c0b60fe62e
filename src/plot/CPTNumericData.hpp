// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Decimal.hpp"
#include "plot/CPTNumber.hpp"

#include <cstddef>
#include <variant>
#include <vector>

namespace quorvel {

// One cached field of a plot: a contiguous array of doubles or of decimals. Missing values
// are NaN (doubles) or not-a-number (decimals).
class CPTNumericData {
public:
    enum class Type { Double, Decimal };

    explicit CPTNumericData(Type type = Type::Double);
    static CPTNumericData fromDoubles(std::vector<double> samples);
    static CPTNumericData fromDecimals(std::vector<Decimal> samples);
    // Decimals when every non-null number is a decimal (and there is one), else doubles.
    static CPTNumericData fromNumbers(const std::vector<CPTNumber>& numbers);

    Type type() const { return std::holds_alternative<std::vector<double>>(samples_) ? Type::Double : Type::Decimal; }
    std::size_t size() const;
    bool empty() const { return size() == 0; }
    double doubleAt(std::size_t index) const;    // NaN past the end
    Decimal decimalAt(std::size_t index) const;  // not-a-number past the end
    CPTNumber numberAt(std::size_t index) const;

    CPTNumericData convertedTo(Type type) const;
    // Grows with missing values or shrinks.
    void resize(std::size_t count);
    // Copies `source` in from `index` on, never past the current end.
    void replaceSamples(std::size_t index, const CPTNumericData& source);

private:
    std::variant<std::vector<double>, std::vector<Decimal>> samples_;
};

}  // namespace quorvel
