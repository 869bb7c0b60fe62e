// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAffineTransform.hpp"
#include "plot/CPTBackingStore.hpp"
#include "plot/CPTColor.hpp"
#include "plot/CPTLineStyle.hpp"
#include "plot/CPTRect.hpp"

#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class CPTGradient;
class CPTTextStyle;

// Everything the engine draws goes through this interface, so the core stays free of any
// graphics library. User space starts as the caller set it up; inside the engine it is the
// current layer's coordinate system (origin lower left, y up).
class CPTContext {
public:
    virtual ~CPTContext() = default;

    virtual void saveGState() = 0;
    virtual void restoreGState() = 0;
    virtual void concatCTM(const CPTAffineTransform& transform) = 0;
    // The current user-to-device transform.
    virtual CPTAffineTransform currentTransform() const = 0;

    void translate(double x, double y) { concatCTM(CPTAffineTransform::translation(x, y)); }
    void scale(double sx, double sy) { concatCTM(CPTAffineTransform::scaling(sx, sy)); }
    void rotate(double radians) { concatCTM(CPTAffineTransform::rotation(radians)); }

    virtual void beginPath() = 0;
    virtual void moveTo(const CPTPoint& point) = 0;
    virtual void lineTo(const CPTPoint& point) = 0;
    virtual void curveTo(const CPTPoint& control1, const CPTPoint& control2, const CPTPoint& end) = 0;
    // A circular arc from startAngle to endAngle (radians); `clockwise` means decreasing angles
    // (clockwise in a y-up space). A line joins it to the current point, if there is one.
    virtual void addArc(const CPTPoint& centre, double radius, double startAngle, double endAngle,
                        bool clockwise) = 0;
    virtual void closePath() = 0;
    virtual void addRect(const CPTRect& rect) = 0;
    virtual void addEllipseInRect(const CPTRect& rect) = 0;
    virtual bool isPathEmpty() const = 0;
    virtual CPTRect pathBoundingBox() const = 0;

    // Painting consumes the current path.
    virtual void fillPath(bool evenOdd = false) = 0;
    virtual void strokePath() = 0;
    virtual void clip(bool evenOdd = false) = 0;
    virtual void clipToRect(const CPTRect& rect) = 0;

    virtual void setFillColor(const CPTColor& color) = 0;
    virtual void setStrokeColor(const CPTColor& color) = 0;
    virtual void setLineWidth(double width) = 0;
    virtual void setLineCap(CPTLineCap cap) = 0;
    virtual void setLineJoin(CPTLineJoin join) = 0;
    virtual void setMiterLimit(double limit) = 0;
    virtual void setLineDash(const std::vector<double>& lengths, double phase) = 0;
    // Whether shadows are applied (the engine switches them off for fills and symbols).
    virtual void setShadowsEnabled(bool enabled) = 0;

    // Paints the gradient along start -> end inside the current clip, not extended past the ends.
    virtual void drawLinearGradient(const CPTGradient& gradient, const CPTPoint& start, const CPTPoint& end) = 0;

    // Draws text with the style's font, colour and alignment, wrapped at word boundaries to
    // the box's width. The box is in a y-down user space (its origin is its top left corner);
    // callers drawing in layer space flip first.
    virtual void drawText(const std::string& text, const CPTRect& box, const CPTTextStyle& style) = 0;

    // An offscreen image of `bounds` at `scale` pixels per point whose context maps `bounds`
    // (in a space whose y runs as `space` says) onto the image; an opaque one keeps no alpha
    // (its user paints every pixel).
    virtual std::unique_ptr<CPTBackingStore> newBackingStore(const CPTRect& bounds, double scale, bool opaque,
                                                             CPTBackingStore::Space space) = 0;
    // Paints a backing store so that its layer-space bounds land on `bounds` in user space.
    virtual void drawBackingStore(const CPTBackingStore& store, const CPTRect& bounds) = 0;
};

}  // namespace quorvel
