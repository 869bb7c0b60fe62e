// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTContext.hpp"
#include "plot/CPTRecordedOperation.hpp"

#include <vector>

namespace quorvel {

// A context that draws nothing and records every painting operation with exact geometry,
// so tests can assert what the engine drew. Text is measured with CPTFixedTextMetrics.
class CPTRecordingContext : public CPTContext {
public:
    CPTRecordingContext() = default;
    explicit CPTRecordingContext(const CPTAffineTransform& baseTransform);

    const std::vector<CPTRecordedOperation>& operations() const { return operations_; }
    std::vector<CPTRecordedOperation> operations(CPTRecordedOperation::Kind kind) const;
    std::vector<std::string> texts() const;
    int saveDepth() const { return static_cast<int>(stack_.size()); }
    void clearOperations() { operations_.clear(); }

    void saveGState() override;
    void restoreGState() override;
    void concatCTM(const CPTAffineTransform& transform) override;
    CPTAffineTransform currentTransform() const override { return state_.transform; }

    void beginPath() override;
    void moveTo(const CPTPoint& point) override;
    void lineTo(const CPTPoint& point) override;
    void curveTo(const CPTPoint& control1, const CPTPoint& control2, const CPTPoint& end) override;
    void addArc(const CPTPoint& centre, double radius, double startAngle, double endAngle, bool clockwise) override;
    void closePath() override;
    void addRect(const CPTRect& rect) override;
    void addEllipseInRect(const CPTRect& rect) override;
    bool isPathEmpty() const override { return path_.empty(); }
    CPTRect pathBoundingBox() const override;

    void fillPath(bool evenOdd) override;
    void strokePath() override;
    void clip(bool evenOdd) override;
    void clipToRect(const CPTRect& rect) override;

    void setFillColor(const CPTColor& color) override { state_.fillColor = color; }
    void setStrokeColor(const CPTColor& color) override { state_.strokeColor = color; }
    void setLineWidth(double width) override { state_.lineWidth = width; }
    void setLineCap(CPTLineCap cap) override { state_.lineCap = cap; }
    void setLineJoin(CPTLineJoin join) override { state_.lineJoin = join; }
    void setMiterLimit(double limit) override { state_.miterLimit = limit; }
    void setLineDash(const std::vector<double>& lengths, double /*phase*/) override { state_.dash = lengths; }
    void setShadowsEnabled(bool /*enabled*/) override {}  // no shadows are drawn, so none are recorded

    void drawLinearGradient(const CPTGradient& gradient, const CPTPoint& start, const CPTPoint& end) override;
    void drawText(const std::string& text, const CPTRect& box, const CPTTextStyle& style) override;

    std::unique_ptr<CPTBackingStore> newBackingStore(const CPTRect& bounds, double scale, bool opaque,
                                                     CPTBackingStore::Space space) override;
    void drawBackingStore(const CPTBackingStore& store, const CPTRect& bounds) override;

private:
    struct State {
        CPTAffineTransform transform;
        CPTColor fillColor;
        CPTColor strokeColor;
        double lineWidth = 1.0;
        CPTLineCap lineCap = CPTLineCap::Butt;
        CPTLineJoin lineJoin = CPTLineJoin::Miter;
        double miterLimit = 10.0;
        std::vector<double> dash;
    };
    CPTRecordedOperation begin(CPTRecordedOperation::Kind kind) const;
    void addElement(CPTRecordedOperation::PathElement element);

    State state_;
    std::vector<State> stack_;
    std::vector<CPTRecordedOperation::PathElement> path_;
    bool hasCurrentPoint_ = false;
    std::vector<CPTRecordedOperation> operations_;
};

}  // namespace quorvel
