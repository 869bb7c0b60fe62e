// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTCoordinate.hpp"
#include "plot/CPTPlotRange.hpp"
#include "plot/CPTPoint.hpp"
#include "plot/CPTScaleType.hpp"

#include <optional>
#include <string>

namespace quorvel {

class CPTGraph;
class CPTPlotSpaceDelegate;

// Maps data points of the plots and axes that belong to it into the plot area.
class CPTPlotSpace {
public:
    static constexpr const char* kCoordinateMappingDidChangeNotification =
        "CPTPlotSpaceCoordinateMappingDidChangeNotification";

    virtual ~CPTPlotSpace() = default;
    CPTPlotSpace(const CPTPlotSpace&) = delete;
    CPTPlotSpace& operator=(const CPTPlotSpace&) = delete;

    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    bool allowsUserInteraction() const { return allowsUserInteraction_; }
    void setAllowsUserInteraction(bool flag) { allowsUserInteraction_ = flag; }
    CPTGraph* graph() const { return graph_; }
    void setGraph(CPTGraph* graph) { graph_ = graph; }
    CPTPlotSpaceDelegate* delegate() const { return delegate_; }
    void setDelegate(CPTPlotSpaceDelegate* delegate) { delegate_ = delegate; }

    // nullopt for a coordinate the space does not have.
    virtual std::optional<CPTPlotRange> plotRangeForCoordinate(CPTCoordinate coordinate) const = 0;
    virtual void setPlotRange(const CPTPlotRange& range, CPTCoordinate coordinate) = 0;
    virtual CPTScaleType scaleTypeForCoordinate(CPTCoordinate coordinate) const = 0;
    virtual void setScaleType(CPTScaleType type, CPTCoordinate coordinate) = 0;

    // Data point to plot-area point (origin lower left) and back.
    virtual CPTPoint plotAreaViewPointForPlotPoint(const Decimal& x, const Decimal& y) const = 0;
    virtual CPTPoint plotAreaViewPointForDoublePrecisionPlotPoint(double x, double y) const = 0;
    virtual void plotPointForPlotAreaViewPoint(const CPTPoint& point, Decimal& x, Decimal& y) const = 0;
    virtual void doublePrecisionPlotPointForPlotAreaViewPoint(const CPTPoint& point, double& x, double& y) const = 0;

protected:
    CPTPlotSpace() = default;
    // Posts through the owning graph's notification centre (nothing without a graph).
    void postNotification(const char* name, const void* object) const;
    void postCoordinateMappingDidChange() const;
    void postGraphNeedsRedraw() const;

private:
    std::string identifier_;
    bool allowsUserInteraction_ = false;
    CPTGraph* graph_ = nullptr;
    CPTPlotSpaceDelegate* delegate_ = nullptr;
};

}  // namespace quorvel
