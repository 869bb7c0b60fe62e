// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/cairo/CPTCairoContext.hpp"

#include "plot/CPTAssertionFailure.hpp"
#include "plot/CPTGradient.hpp"
#include "plot/CPTTextStyle.hpp"
#include "plot/cairo/CPTCairoBackingStore.hpp"
#include "plot/cairo/CPTPangoLayoutCache.hpp"

#include <pango/pangocairo.h>

#include <cmath>
#include <numbers>

namespace quorvel {

CPTCairoContext::CPTCairoContext(cairo_t* cr) : cr_(cairo_reference(cr)) {}

void CPTCairoContext::saveGState()
{
    cairo_save(cr_.get());
    stack_.push_back(state_);
}

void CPTCairoContext::restoreGState()
{
    CPTAssertionFailure::check(!stack_.empty(), "restoreGState without a matching saveGState", "CPTCairoContext");
    cairo_restore(cr_.get());
    state_ = stack_.back();
    stack_.pop_back();
}

void CPTCairoContext::concatCTM(const CPTAffineTransform& t)
{
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_transform(cr_.get(), &matrix);
}

CPTAffineTransform CPTCairoContext::currentTransform() const
{
    cairo_matrix_t m;
    cairo_get_matrix(cr_.get(), &m);
    return {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0};
}

void CPTCairoContext::beginPath()
{
    cairo_new_path(cr_.get());
    pathEmpty_ = true;
}

void CPTCairoContext::moveTo(const CPTPoint& point)
{
    cairo_move_to(cr_.get(), point.x, point.y);
    pathEmpty_ = false;
}

void CPTCairoContext::lineTo(const CPTPoint& point)
{
    cairo_line_to(cr_.get(), point.x, point.y);
    pathEmpty_ = false;
}

void CPTCairoContext::curveTo(const CPTPoint& control1, const CPTPoint& control2, const CPTPoint& end)
{
    cairo_curve_to(cr_.get(), control1.x, control1.y, control2.x, control2.y, end.x, end.y);
    pathEmpty_ = false;
}

void CPTCairoContext::addArc(const CPTPoint& centre, double radius, double startAngle, double endAngle, bool clockwise)
{
    if (clockwise) {
        cairo_arc_negative(cr_.get(), centre.x, centre.y, radius, startAngle, endAngle);
    } else {
        cairo_arc(cr_.get(), centre.x, centre.y, radius, startAngle, endAngle);
    }
    pathEmpty_ = false;
}

void CPTCairoContext::closePath()
{
    cairo_close_path(cr_.get());
}

void CPTCairoContext::addRect(const CPTRect& rect)
{
    cairo_rectangle(cr_.get(), rect.minX(), rect.minY(), rect.width(), rect.height());
    pathEmpty_ = false;
}

void CPTCairoContext::addEllipseInRect(const CPTRect& rect)
{
    if (rect.width() <= 0.0 || rect.height() <= 0.0) {
        return;
    }
    cairo_matrix_t saved;
    cairo_get_matrix(cr_.get(), &saved);
    cairo_translate(cr_.get(), rect.midX(), rect.midY());
    cairo_scale(cr_.get(), rect.width() / 2.0, rect.height() / 2.0);
    cairo_new_sub_path(cr_.get());
    cairo_arc(cr_.get(), 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
    cairo_close_path(cr_.get());
    cairo_set_matrix(cr_.get(), &saved);
    pathEmpty_ = false;
}

CPTRect CPTCairoContext::pathBoundingBox() const
{
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    cairo_path_extents(cr_.get(), &x1, &y1, &x2, &y2);
    return CPTRect::make(x1, y1, x2 - x1, y2 - y1);
}

void CPTCairoContext::setSource(const CPTColor& color)
{
    cairo_set_source_rgba(cr_.get(), color.red(), color.green(), color.blue(), color.alpha());
}

void CPTCairoContext::fillPath(bool evenOdd)
{
    cairo_set_fill_rule(cr_.get(), evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    setSource(state_.fill);
    cairo_fill(cr_.get());
    pathEmpty_ = true;
}

void CPTCairoContext::strokePath()
{
    setSource(state_.stroke);
    cairo_stroke(cr_.get());
    pathEmpty_ = true;
}

void CPTCairoContext::clip(bool evenOdd)
{
    cairo_set_fill_rule(cr_.get(), evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr_.get());
    pathEmpty_ = true;
}

void CPTCairoContext::clipToRect(const CPTRect& rect)
{
    // Clipping to a rectangle leaves the path being built alone.
    CairoPathHandle path(cairo_copy_path(cr_.get()));
    cairo_new_path(cr_.get());
    cairo_rectangle(cr_.get(), rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_set_fill_rule(cr_.get(), CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr_.get());
    cairo_append_path(cr_.get(), path.get());
}

void CPTCairoContext::setLineWidth(double width)
{
    cairo_set_line_width(cr_.get(), width);
}

void CPTCairoContext::setLineCap(CPTLineCap cap)
{
    switch (cap) {
    case CPTLineCap::Butt:
        cairo_set_line_cap(cr_.get(), CAIRO_LINE_CAP_BUTT);
        break;
    case CPTLineCap::Round:
        cairo_set_line_cap(cr_.get(), CAIRO_LINE_CAP_ROUND);
        break;
    case CPTLineCap::Square:
        cairo_set_line_cap(cr_.get(), CAIRO_LINE_CAP_SQUARE);
        break;
    }
}

void CPTCairoContext::setLineJoin(CPTLineJoin join)
{
    switch (join) {
    case CPTLineJoin::Miter:
        cairo_set_line_join(cr_.get(), CAIRO_LINE_JOIN_MITER);
        break;
    case CPTLineJoin::Round:
        cairo_set_line_join(cr_.get(), CAIRO_LINE_JOIN_ROUND);
        break;
    case CPTLineJoin::Bevel:
        cairo_set_line_join(cr_.get(), CAIRO_LINE_JOIN_BEVEL);
        break;
    }
}

void CPTCairoContext::setMiterLimit(double limit)
{
    cairo_set_miter_limit(cr_.get(), limit);
}

void CPTCairoContext::setLineDash(const std::vector<double>& lengths, double phase)
{
    cairo_set_dash(cr_.get(), lengths.empty() ? nullptr : lengths.data(), static_cast<int>(lengths.size()), phase);
}

void CPTCairoContext::drawLinearGradient(const CPTGradient& gradient, const CPTPoint& start, const CPTPoint& end)
{
    CairoPatternHandle pattern(cairo_pattern_create_linear(start.x, start.y, end.x, end.y));
    const auto& stops = gradient.stops();
    if (stops.empty()) {
        cairo_pattern_add_color_stop_rgba(pattern.get(), 0.0, 1.0, 1.0, 1.0, 1.0);
    }
    for (const auto& stop : stops) {
        cairo_pattern_add_color_stop_rgba(pattern.get(), stop.position, stop.color.red(), stop.color.green(),
                                          stop.color.blue(), stop.color.alpha());
    }
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_NONE);
    // Fill the clip's extents rather than paint: vector surfaces write a painted pattern as a
    // page-sized shape that loses the clip, covering whatever was drawn before it.
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    CairoPathHandle path(cairo_copy_path(cr_.get()));  // a path being built survives, as with paint
    cairo_save(cr_.get());
    cairo_clip_extents(cr_.get(), &x1, &y1, &x2, &y2);
    cairo_new_path(cr_.get());
    cairo_rectangle(cr_.get(), x1, y1, x2 - x1, y2 - y1);
    cairo_set_source(cr_.get(), pattern.get());
    cairo_fill(cr_.get());
    cairo_restore(cr_.get());
    cairo_append_path(cr_.get(), path.get());
}

void CPTCairoContext::drawText(const std::string& text, const CPTRect& box, const CPTTextStyle& style)
{
    if (text.empty() || !style.color()) {
        return;
    }
    const CPTPangoLayoutCache::Placed placed = CPTPangoLayoutCache::layoutFor(cr_.get(), text, style, box.width());
    cairo_save(cr_.get());
    setSource(*style.color());
    cairo_move_to(cr_.get(), box.origin.x + placed.dx, box.origin.y);
    pango_cairo_show_layout(cr_.get(), placed.layout);
    cairo_restore(cr_.get());
}

std::unique_ptr<CPTBackingStore> CPTCairoContext::newBackingStore(const CPTRect& bounds, double scale, bool opaque,
                                                                  CPTBackingStore::Space space)
{
    return std::make_unique<CPTCairoBackingStore>(bounds, scale, opaque, space);
}

void CPTCairoContext::drawBackingStore(const CPTBackingStore& store, const CPTRect& bounds)
{
    const auto* cairoStore = dynamic_cast<const CPTCairoBackingStore*>(&store);
    CPTAssertionFailure::check(cairoStore != nullptr, "backing store was not made by a Cairo context",
                               "CPTCairoContext");
    if (bounds.width() <= 0.0 || bounds.height() <= 0.0) {
        return;
    }
    CairoPatternHandle pattern(cairo_pattern_create_for_surface(cairoStore->surface()));
    const double sx = store.bounds().width() * store.scale() / bounds.width();
    const double sy = store.bounds().height() * store.scale() / bounds.height();
    cairo_matrix_t toImage;
    if (store.space() == CPTBackingStore::Space::YUp) {
        // Row 0 holds the top edge: the image's height is where the bottom edge lands.
        const double height = cairo_image_surface_get_height(cairoStore->surface());
        cairo_matrix_init(&toImage, sx, 0.0, 0.0, -sy, -sx * bounds.minX(), height + sy * bounds.minY());
    } else {
        cairo_matrix_init_scale(&toImage, sx, sy);
        cairo_matrix_translate(&toImage, -bounds.minX(), -bounds.minY());
    }
    cairo_pattern_set_matrix(pattern.get(), &toImage);
    cairo_save(cr_.get());
    cairo_set_source(cr_.get(), pattern.get());
    cairo_new_path(cr_.get());
    cairo_rectangle(cr_.get(), bounds.minX(), bounds.minY(), bounds.width(), bounds.height());
    cairo_fill(cr_.get());
    cairo_restore(cr_.get());
    pathEmpty_ = true;
}

}  // namespace quorvel
