// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTFill.hpp"
#include "plot/CPTLineStyle.hpp"
#include "plot/CPTSize.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace quorvel {

class CPTBackingStore;
class CPTContext;

// A marker drawn at each data point. Copies share nothing: each symbol object keeps its own
// pre-rendered image, made on first use and dropped when the look changes.
class CPTPlotSymbol {
public:
    enum class Type { None = 0, Rectangle, Ellipse, Diamond, Triangle, Star, Pentagon, Hexagon, Cross, Plus, Dash, Snow, Custom };
    // Adds a custom outline inside the given rectangle (centred on the origin).
    using CustomPath = std::function<void(CPTContext&, const CPTRect&)>;

    CPTPlotSymbol() = default;
    CPTPlotSymbol(const CPTPlotSymbol& other);
    CPTPlotSymbol& operator=(const CPTPlotSymbol& other);
    ~CPTPlotSymbol();

    static CPTPlotSymbol plotSymbolOfType(Type type);
    static CPTPlotSymbol ellipsePlotSymbol() { return plotSymbolOfType(Type::Ellipse); }
    static CPTPlotSymbol rectanglePlotSymbol() { return plotSymbolOfType(Type::Rectangle); }
    static CPTPlotSymbol customPlotSymbolWithPath(CustomPath path);

    Type symbolType() const { return symbolType_; }
    const CPTSize& size() const { return size_; }
    void setSize(const CPTSize& size);
    const std::optional<CPTLineStyle>& lineStyle() const { return lineStyle_; }
    void setLineStyle(std::optional<CPTLineStyle> style);
    const std::optional<CPTFill>& fill() const { return fill_; }
    void setFill(std::optional<CPTFill> fill);
    bool usesEvenOddClipRule() const { return usesEvenOddClipRule_; }
    void setUsesEvenOddClipRule(bool flag);

    // Adds the outline, centred on the origin; false when the type has none.
    bool addSymbolPath(CPTContext& context) const;
    // Draws the symbol as vectors at `point`, scaled by `scale`.
    void renderAsVectorInContext(CPTContext& context, const CPTPoint& point, double scale) const;
    // Draws the symbol's cached image centred on `point`, made at `scale` pixels per point.
    void renderInContext(CPTContext& context, const CPTPoint& point, double scale, bool alignToPixels) const;

    bool operator==(const CPTPlotSymbol& other) const;

private:
    void dropCachedImage() const;

    Type symbolType_ = Type::None;
    CPTSize size_{5.0, 5.0};
    std::optional<CPTLineStyle> lineStyle_ = CPTLineStyle::lineStyle();
    std::optional<CPTFill> fill_;
    CustomPath customSymbolPath_;
    bool usesEvenOddClipRule_ = false;
    mutable std::unique_ptr<CPTBackingStore> cachedImage_;
};

}  // namespace quorvel
