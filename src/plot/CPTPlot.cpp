// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTPlot.hpp"

#include "plot/CPTAssertionFailure.hpp"
#include "plot/CPTGraph.hpp"
#include "plot/CPTInvalidArgumentException.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTPlotDataSource.hpp"
#include "plot/CPTSetIfChanged.hpp"

#include <cmath>
#include <functional>
#include <vector>

namespace quorvel {

namespace {

// Asks a per-record accessor for every index of the range. It counts as provided when it answers
// for any record; the records it has no answer for are missing (`missing`), wherever they lie.
// Absent when it answers for none.
template <class T>
std::optional<std::vector<T>> perRecordValues(CPTIndexRange range, const std::function<std::optional<T>(std::size_t)>& ask,
                                              const T& missing)
{
    std::vector<T> values;
    values.reserve(range.length);
    bool answered = false;
    for (std::size_t i = range.location; i < range.end(); ++i) {
        auto value = ask(i);
        answered = answered || value.has_value();
        values.push_back(value ? std::move(*value) : missing);
    }
    if (!answered) {
        return std::nullopt;
    }
    return values;
}

}  // namespace

CPTPlot::CPTPlot()
{
    setMasksToBounds(true);
    setNeedsDisplayOnBoundsChange(true);
}

CPTPlot::~CPTPlot() = default;

void CPTPlot::setDataSource(CPTPlotDataSource* source)
{
    if (CPTSetIfChanged(dataSource_, source)) {
        setDataNeedsReloading();
    }
}

void CPTPlot::setPlotSpace(std::shared_ptr<CPTPlotSpace> space)
{
    if (CPTSetIfChanged(plotSpace_, std::move(space))) {
        setNeedsDisplay();
    }
}

void CPTPlot::setAlignsPointsToPixels(bool flag)
{
    if (CPTSetIfChanged(alignsPointsToPixels_, flag)) {
        setNeedsDisplay();
    }
}

void CPTPlot::reloadData()
{
    cachedData_.clear();
    cachedDataCount_ = 0;
    const std::size_t count = dataSource_ != nullptr ? dataSource_->numberOfRecordsForPlot(*this) : 0;
    reloadDataInIndexRange({0, count});
}

void CPTPlot::reloadDataIfNeeded()
{
    if (dataNeedsReloading_) {
        reloadData();
    }
}

void CPTPlot::reloadDataInIndexRange(CPTIndexRange range)
{
    const std::size_t available = dataSource_ != nullptr ? dataSource_->numberOfRecordsForPlot(*this) : 0;
    CPTAssertionFailure::checkParameter(range.end() <= available,
                                        "NSMaxRange(indexRange) <= [self.dataSource numberOfRecordsForPlot:self]",
                                        "CPTPlot");
    dataNeedsReloading_ = false;
}

void CPTPlot::setDataNeedsReloading()
{
    dataNeedsReloading_ = true;
    setNeedsDisplayForNewData();
}

CPTNumericData CPTPlot::numbersFromDataSourceForField(unsigned field, CPTIndexRange range)
{
    if (dataSource_ == nullptr) {
        return CPTNumericData();
    }
    if (auto data = dataSource_->dataForPlot(*this, field, range)) {
        return *data;
    }
    if (auto doubles = dataSource_->doublesForPlot(*this, field, range)) {
        return CPTNumericData::fromDoubles(std::move(*doubles));
    }
    if (auto numbers = dataSource_->numbersForPlot(*this, field, range)) {
        return CPTNumericData::fromNumbers(*numbers);
    }
    if (range.length == 0) {
        return CPTNumericData();
    }
    if (auto doubles = perRecordValues<double>(
            range, [&](std::size_t i) { return dataSource_->doubleForPlot(*this, field, i); }, std::nan(""))) {
        return CPTNumericData::fromDoubles(std::move(*doubles));
    }
    if (auto numbers = perRecordValues<CPTNumber>(
            range, [&](std::size_t i) { return dataSource_->numberForPlot(*this, field, i); }, CPTNumber::null())) {
        return CPTNumericData::fromNumbers(*numbers);
    }
    // A source that provides no numbers at all reads as zeros.
    return CPTNumericData::fromDecimals(std::vector<Decimal>(range.length));
}

std::size_t CPTPlot::cachedDataCount()
{
    reloadDataIfNeeded();
    return cachedDataCount_;
}

void CPTPlot::setCachePrecision(CachePrecision precision)
{
    if (precision != CachePrecision::Automatic && precision != CachePrecision::Double &&
        precision != CachePrecision::Decimal) {
        throw CPTInvalidArgumentException("Invalid cache precision");
    }
    if (precision == cachePrecision_) {
        return;
    }
    cachePrecision_ = precision;
    if (precision != CachePrecision::Automatic) {
        const auto type = precision == CachePrecision::Double ? CPTNumericData::Type::Double
                                                              : CPTNumericData::Type::Decimal;
        for (auto& [field, data] : cachedData_) {
            data = data.convertedTo(type);
        }
    }
}

bool CPTPlot::doublePrecisionCache() const
{
    switch (cachePrecision_) {
    case CachePrecision::Double:
        return true;
    case CachePrecision::Decimal:
        return false;
    case CachePrecision::Automatic:
        break;
    }
    return !cachedData_.empty() && cachedData_.begin()->second.type() == CPTNumericData::Type::Double;
}

CPTNumericData::Type CPTPlot::cacheTypeFor(const CPTNumericData& numbers) const
{
    switch (cachePrecision_) {
    case CachePrecision::Double:
        return CPTNumericData::Type::Double;
    case CachePrecision::Decimal:
        return CPTNumericData::Type::Decimal;
    case CachePrecision::Automatic:
        break;
    }
    return numbers.type();
}

void CPTPlot::cacheNumbers(const CPTNumericData& numbers, unsigned field, std::size_t recordIndex)
{
    if (numbers.empty()) {
        setNeedsDisplayForNewData();
        return;
    }
    const auto type = cacheTypeFor(numbers);
    for (auto& [key, data] : cachedData_) {
        data = data.convertedTo(type);  // one storage type for every field
    }
    auto [it, inserted] = cachedData_.try_emplace(field, type);
    const std::size_t count = dataSource_ != nullptr ? dataSource_->numberOfRecordsForPlot(*this)
                                                     : recordIndex + numbers.size();
    it->second.resize(count);
    cachedDataCount_ = count;
    it->second.replaceSamples(recordIndex, numbers);
    setNeedsDisplayForNewData();
}

void CPTPlot::cacheNumbers(const std::optional<CPTNumericData>& numbers, unsigned field)
{
    if (!numbers || numbers->empty()) {
        cachedData_.erase(field);
        cachedDataCount_ = 0;
    } else {
        const auto type = cacheTypeFor(*numbers);
        for (auto& [key, data] : cachedData_) {
            data = data.convertedTo(type);
        }
        cachedData_.insert_or_assign(field, numbers->convertedTo(type));
        cachedDataCount_ = numbers->size();
    }
    setNeedsDisplayForNewData();
}

const CPTNumericData* CPTPlot::cachedNumbersForField(unsigned field) const
{
    const auto it = cachedData_.find(field);
    return it == cachedData_.end() ? nullptr : &it->second;
}

CPTNumber CPTPlot::cachedNumberForField(unsigned field, std::size_t index) const
{
    const CPTNumericData* data = cachedNumbersForField(field);
    return data == nullptr || index >= data->size() ? CPTNumber::null() : data->numberAt(index);
}

double CPTPlot::cachedDoubleForField(unsigned field, std::size_t index) const
{
    const CPTNumericData* data = cachedNumbersForField(field);
    return data == nullptr ? std::nan("") : data->doubleAt(index);
}

Decimal CPTPlot::cachedDecimalForField(unsigned field, std::size_t index) const
{
    const CPTNumericData* data = cachedNumbersForField(field);
    return data == nullptr ? Decimal::notANumber() : data->decimalAt(index);
}

CPTPlotArea* CPTPlot::plotArea() const
{
    return graph() != nullptr ? graph()->plotAreaFrame()->plotArea() : nullptr;
}

CPTPoint CPTPlot::convertFromPlotArea(const CPTPoint& point) const
{
    const CPTPlotArea* area = plotArea();
    return area == nullptr ? point : convertPointFromLayer(point, area);
}

}  // namespace quorvel
