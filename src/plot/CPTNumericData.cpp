// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTNumericData.hpp"

#include <cmath>

namespace quorvel {

CPTNumericData::CPTNumericData(Type type)
{
    if (type == Type::Decimal) {
        samples_ = std::vector<Decimal>();
    }
}

CPTNumericData CPTNumericData::fromDoubles(std::vector<double> samples)
{
    CPTNumericData data(Type::Double);
    data.samples_ = std::move(samples);
    return data;
}

CPTNumericData CPTNumericData::fromDecimals(std::vector<Decimal> samples)
{
    CPTNumericData data(Type::Decimal);
    data.samples_ = std::move(samples);
    return data;
}

CPTNumericData CPTNumericData::fromNumbers(const std::vector<CPTNumber>& numbers)
{
    bool anyDecimal = false;
    bool allDecimal = true;
    for (const auto& number : numbers) {
        if (number.isDecimal()) {
            anyDecimal = true;
        } else if (!number.isNull()) {
            allDecimal = false;
        }
    }
    if (anyDecimal && allDecimal) {
        std::vector<Decimal> decimals;
        decimals.reserve(numbers.size());
        for (const auto& number : numbers) {
            decimals.push_back(number.decimalValue());
        }
        return fromDecimals(std::move(decimals));
    }
    std::vector<double> doubles;
    doubles.reserve(numbers.size());
    for (const auto& number : numbers) {
        doubles.push_back(number.doubleValue());
    }
    return fromDoubles(std::move(doubles));
}

std::size_t CPTNumericData::size() const
{
    return std::visit([](const auto& samples) { return samples.size(); }, samples_);
}

double CPTNumericData::doubleAt(std::size_t index) const
{
    if (const auto* doubles = std::get_if<std::vector<double>>(&samples_)) {
        return index < doubles->size() ? (*doubles)[index] : std::nan("");
    }
    const auto& decimals = std::get<std::vector<Decimal>>(samples_);
    return index < decimals.size() ? decimals[index].toDouble() : std::nan("");
}

Decimal CPTNumericData::decimalAt(std::size_t index) const
{
    if (const auto* decimals = std::get_if<std::vector<Decimal>>(&samples_)) {
        return index < decimals->size() ? (*decimals)[index] : Decimal::notANumber();
    }
    const auto& doubles = std::get<std::vector<double>>(samples_);
    return index < doubles.size() ? Decimal::fromDouble(doubles[index]) : Decimal::notANumber();
}

CPTNumber CPTNumericData::numberAt(std::size_t index) const
{
    if (type() == Type::Decimal) {
        return CPTNumber(decimalAt(index));
    }
    return CPTNumber(doubleAt(index));
}

CPTNumericData CPTNumericData::convertedTo(Type type) const
{
    if (type == this->type()) {
        return *this;
    }
    const std::size_t count = size();
    if (type == Type::Double) {
        std::vector<double> doubles(count);
        for (std::size_t i = 0; i < count; ++i) {
            doubles[i] = doubleAt(i);
        }
        return fromDoubles(std::move(doubles));
    }
    std::vector<Decimal> decimals(count);
    for (std::size_t i = 0; i < count; ++i) {
        decimals[i] = decimalAt(i);
    }
    return fromDecimals(std::move(decimals));
}

void CPTNumericData::resize(std::size_t count)
{
    if (auto* doubles = std::get_if<std::vector<double>>(&samples_)) {
        doubles->resize(count, std::nan(""));
    } else {
        std::get<std::vector<Decimal>>(samples_).resize(count, Decimal::notANumber());
    }
}

void CPTNumericData::replaceSamples(std::size_t index, const CPTNumericData& source)
{
    const CPTNumericData typed = source.convertedTo(type());
    const std::size_t count = size();
    for (std::size_t i = 0; i < typed.size() && index + i < count; ++i) {
        if (auto* doubles = std::get_if<std::vector<double>>(&samples_)) {
            (*doubles)[index + i] = typed.doubleAt(i);
        } else {
            std::get<std::vector<Decimal>>(samples_)[index + i] = typed.decimalAt(i);
        }
    }
}

}  // namespace quorvel
