// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAnnotationHostLayer.hpp"
#include "plot/CPTIndexRange.hpp"
#include "plot/CPTNumericData.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace quorvel {

class CPTPlotArea;
class CPTPlotDataSource;
class CPTPlotSpace;

// Base of all plots: pulls numbers from its data source into a per-field cache and draws from
// the cache, so drawing never calls the data source.
class CPTPlot : public CPTAnnotationHostLayer {
public:
    enum class CachePrecision { Automatic = 0, Double = 1, Decimal = 2 };

    CPTPlot();
    ~CPTPlot() override;

    CPTPlotDataSource* dataSource() const { return dataSource_; }
    void setDataSource(CPTPlotDataSource* source);
    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    CPTPlotSpace* plotSpace() const { return plotSpace_.get(); }
    void setPlotSpace(std::shared_ptr<CPTPlotSpace> space);
    bool alignsPointsToPixels() const { return alignsPointsToPixels_; }
    void setAlignsPointsToPixels(bool flag);

    // Loading.
    void reloadData();
    void reloadDataIfNeeded();
    virtual void reloadDataInIndexRange(CPTIndexRange range);
    bool dataNeedsReloading() const { return dataNeedsReloading_; }
    void setDataNeedsReloading();
    CPTNumericData numbersFromDataSourceForField(unsigned field, CPTIndexRange range);

    // Cache.
    std::size_t cachedDataCount();
    CachePrecision cachePrecision() const { return cachePrecision_; }
    void setCachePrecision(CachePrecision precision);
    bool doublePrecisionCache() const;
    void cacheNumbers(const CPTNumericData& numbers, unsigned field, std::size_t recordIndex);
    void cacheNumbers(const std::optional<CPTNumericData>& numbers, unsigned field);
    const CPTNumericData* cachedNumbersForField(unsigned field) const;
    CPTNumber cachedNumberForField(unsigned field, std::size_t index) const;
    double cachedDoubleForField(unsigned field, std::size_t index) const;
    Decimal cachedDecimalForField(unsigned field, std::size_t index) const;

    bool changesOften() const override { return true; }

protected:
    CPTPlotArea* plotArea() const;
    // Plot-area point expressed in this layer.
    CPTPoint convertFromPlotArea(const CPTPoint& point) const;
    std::size_t cachedCountWithoutReload() const { return cachedDataCount_; }

private:
    CPTNumericData::Type cacheTypeFor(const CPTNumericData& numbers) const;

    CPTPlotDataSource* dataSource_ = nullptr;
    std::optional<std::string> title_;
    std::shared_ptr<CPTPlotSpace> plotSpace_;
    std::map<unsigned, CPTNumericData> cachedData_;
    std::size_t cachedDataCount_ = 0;
    CachePrecision cachePrecision_ = CachePrecision::Automatic;
    bool dataNeedsReloading_ = false;
    bool alignsPointsToPixels_ = true;
};

}  // namespace quorvel
