// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTContext.hpp"
#include "plot/cairo/CPTCairoHandles.hpp"

#include <vector>

namespace quorvel {

// The shipping drawing context: Cairo for paths and images, Pango for text.
class CPTCairoContext : public CPTContext {
public:
    // Draws into `cr`, which the caller keeps alive; the context takes its own reference.
    explicit CPTCairoContext(cairo_t* cr);

    cairo_t* cairo() const { return cr_.get(); }

    void saveGState() override;
    void restoreGState() override;
    void concatCTM(const CPTAffineTransform& transform) override;
    CPTAffineTransform currentTransform() const override;

    void beginPath() override;
    void moveTo(const CPTPoint& point) override;
    void lineTo(const CPTPoint& point) override;
    void curveTo(const CPTPoint& control1, const CPTPoint& control2, const CPTPoint& end) override;
    void addArc(const CPTPoint& centre, double radius, double startAngle, double endAngle, bool clockwise) override;
    void closePath() override;
    void addRect(const CPTRect& rect) override;
    void addEllipseInRect(const CPTRect& rect) override;
    bool isPathEmpty() const override { return pathEmpty_; }
    CPTRect pathBoundingBox() const override;

    void fillPath(bool evenOdd) override;
    void strokePath() override;
    void clip(bool evenOdd) override;
    void clipToRect(const CPTRect& rect) override;

    void setFillColor(const CPTColor& color) override { state_.fill = color; }
    void setStrokeColor(const CPTColor& color) override { state_.stroke = color; }
    void setLineWidth(double width) override;
    void setLineCap(CPTLineCap cap) override;
    void setLineJoin(CPTLineJoin join) override;
    void setMiterLimit(double limit) override;
    void setLineDash(const std::vector<double>& lengths, double phase) override;
    void setShadowsEnabled(bool /*enabled*/) override {}  // the charts draw no shadows

    void drawLinearGradient(const CPTGradient& gradient, const CPTPoint& start, const CPTPoint& end) override;
    void drawText(const std::string& text, const CPTRect& box, const CPTTextStyle& style) override;

    std::unique_ptr<CPTBackingStore> newBackingStore(const CPTRect& bounds, double scale, bool opaque,
                                                     CPTBackingStore::Space space) override;
    void drawBackingStore(const CPTBackingStore& store, const CPTRect& bounds) override;

private:
    struct State {
        CPTColor fill;
        CPTColor stroke;
    };
    void setSource(const CPTColor& color);

    CairoHandle cr_;
    State state_;
    std::vector<State> stack_;
    bool pathEmpty_ = true;
};

}  // namespace quorvel
