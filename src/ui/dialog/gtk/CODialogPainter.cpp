// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog/gtk/CODialogPainter.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include <cairomm/surface.h>

#include "ui/UIColorSets.hpp"

namespace quorvel {

namespace {

using Context = Cairo::RefPtr<Cairo::Context>;
using PathFn = std::function<void(const Context&)>;

struct Rgba {
    double r, g, b, a;
};
constexpr Rgba kPanelBlue{0.047, 0.141, 0.329, 1.0};
constexpr Rgba kGlossEnd{0.227, 0.31, 0.455, 0.8};
constexpr double kPanelOpacity = 0.65;
// Under the panel the dimmed screen is darkened this much more; the glossy look stays.
constexpr double kUnderlayOpacity = 0.85;
// Shadows are rasterised at least this many pixels per point, so they stay smooth on HiDPI.
constexpr double kShadowPixelsPerPoint = 2.0;

void setColour(const Context& cr, Rgba c)
{
    cr->set_source_rgba(c.r, c.g, c.b, c.a);
}

void roundedRect(const Context& cr, const CODialogRect& r, double radius)
{
    const double degrees = M_PI / 180.0;
    cr->begin_new_sub_path();
    cr->arc(r.maxX() - radius, r.y + radius, radius, -90 * degrees, 0);
    cr->arc(r.maxX() - radius, r.maxY() - radius, radius, 0, 90 * degrees);
    cr->arc(r.x + radius, r.maxY() - radius, radius, 90 * degrees, 180 * degrees);
    cr->arc(r.x + radius, r.y + radius, radius, 180 * degrees, 270 * degrees);
    cr->close_path();
}

void rect(const Context& cr, const CODialogRect& r)
{
    cr->rectangle(r.x, r.y, r.width, r.height);
}

// Three box passes approximate a Gaussian of deviation sigma (pixels) along one axis.
void boxBlur(std::vector<double>& v, int count, int step, int base, double sigma)
{
    const int radius = std::max(1, static_cast<int>(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));
    const double width = 2.0 * radius + 1;
    std::vector<double> line(count);
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i < count; ++i) {
            line[i] = v[base + i * step];
        }
        double sum = 0;
        for (int i = -radius; i <= radius; ++i) {
            sum += (i >= 0 && i < count) ? line[i] : 0;
        }
        for (int i = 0; i < count; ++i) {
            v[base + i * step] = sum / width;
            const int out = i - radius;
            const int in = i + radius + 1;
            sum += (in < count ? line[in] : 0) - (out >= 0 ? line[out] : 0);
        }
    }
}

void blurAlpha(const Cairo::RefPtr<Cairo::ImageSurface>& mask, double sigma)
{
    mask->flush();
    const int w = mask->get_width();
    const int h = mask->get_height();
    const int stride = mask->get_stride();
    unsigned char* data = mask->get_data();
    std::vector<double> v(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            v[y * w + x] = data[y * stride + x];
        }
    }
    for (int y = 0; y < h; ++y) {
        boxBlur(v, w, 1, y * w, sigma);
    }
    for (int x = 0; x < w; ++x) {
        boxBlur(v, h, w, x, sigma);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            data[y * stride + x] = static_cast<unsigned char>(std::clamp(std::lround(v[y * w + x]), 0L, 255L));
        }
    }
    mask->mark_dirty();
}

// Paints only the shadow the shape would cast: the shape moved by (dx, dy), blurred by `blur`
// points (a Gaussian of half that deviation), in `colour`.
void paintShadow(const Context& cr, const PathFn& path, Rgba colour, double dx, double dy, double blur)
{
    cr->save();
    if (blur <= 0) {
        cr->translate(dx, dy);
        path(cr);
        setColour(cr, colour);
        cr->fill();
        cr->restore();
        return;
    }
    path(cr);
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cr->get_fill_extents(x1, y1, x2, y2);
    cr->begin_new_path();
    const double margin = 2 * blur;
    x1 -= margin;
    y1 -= margin;
    double sx = 1, sy = 0;
    cr->user_to_device_distance(sx, sy);
    const double scale = std::max(kShadowPixelsPerPoint, std::hypot(sx, sy));
    const int pw = static_cast<int>(std::ceil((x2 - x1 + margin) * scale));
    const int ph = static_cast<int>(std::ceil((y2 - y1 + margin) * scale));
    if (pw > 0 && ph > 0) {
        auto mask = Cairo::ImageSurface::create(Cairo::Surface::Format::A8, pw, ph);
        {
            auto mc = Cairo::Context::create(mask);
            mc->scale(scale, scale);
            mc->translate(-x1, -y1);
            path(mc);
            mc->set_source_rgba(0, 0, 0, 1);
            mc->fill();
        }
        blurAlpha(mask, blur / 2 * scale);
        cairo_surface_set_device_scale(mask->cobj(), scale, scale);
        setColour(cr, colour);
        cr->mask(mask, x1 + dx, y1 + dy);
    }
    cr->restore();
}

void showText(const Context& cr, const CODialogRect& r, const Glib::RefPtr<Pango::Layout>& text)
{
    text->set_width(static_cast<int>(std::max(0.0, r.width) * PANGO_SCALE));
    // A point of slack so that a rectangle measured for the text never loses its last line.
    text->set_height(static_cast<int>((std::max(0.0, r.height) + 1) * PANGO_SCALE));
    text->set_alignment(Pango::Alignment::CENTER);
    text->set_wrap(Pango::WrapMode::WORD_CHAR);
    text->set_ellipsize(Pango::EllipsizeMode::MIDDLE);
    // Engraved: a black copy one point above, the white text on it.
    cr->set_source_rgba(0, 0, 0, 1);
    cr->move_to(r.x, r.y - 1);
    text->show_in_cairo_context(cr);
    cr->set_source_rgba(1, 1, 1, 1);
    cr->move_to(r.x, r.y);
    text->show_in_cairo_context(cr);
}

void drawGloss(const Context& cr, const CODialogRect& panel)
{
    const double left = panel.x;
    const double right = panel.maxX();
    const double mid = panel.x + panel.width / 2;
    cr->save();
    roundedRect(cr, panel, 8);
    cr->clip();
    cr->move_to(left, 25);
    cr->curve_to(left, 25, left + panel.width / 4, 35, mid, 35);
    cr->curve_to(left + 3 * panel.width / 4, 35, right, 25, right, 25);
    cr->line_to(right, panel.y);
    cr->line_to(left, panel.y);
    cr->close_path();
    auto gloss = Cairo::LinearGradient::create(mid, 0, mid, 35);
    gloss->add_color_stop_rgba(0, 1, 1, 1, 0.75);
    gloss->add_color_stop_rgba(1, kGlossEnd.r, kGlossEnd.g, kGlossEnd.b, kGlossEnd.a);
    cr->set_source(gloss);
    cr->fill();
    cr->restore();
}

// The face shape and everything but it, for the light edges that sit just outside or inside it.
void aroundFace(const Context& cr, const CODialogRect& face)
{
    rect(cr, face.insetBy(-10, -10));
    roundedRect(cr, face, 4);
}

}  // namespace

void CODialogPainter::drawPanelUnderlay(const Context& cr, const CODialogRect& bounds)
{
    cr->save();
    roundedRect(cr, bounds.integral().insetBy(8, 8), 8);
    cr->set_source_rgba(0, 0, 0, kUnderlayOpacity);
    cr->fill();
    cr->restore();
}

void CODialogPainter::drawDialogBackground(const Context& cr, const CODialogRect& bounds)
{
    const CODialogRect panel = bounds.integral().insetBy(8, 8);
    cr->save();
    cr->push_group();
    paintShadow(cr, [&](const Context& c) { roundedRect(c, panel, 8); }, {0, 0, 0, 1}, 0, 4, 6);
    roundedRect(cr, panel, 8);
    setColour(cr, kPanelBlue);
    cr->fill();
    drawGloss(cr, panel);
    roundedRect(cr, panel.insetBy(1, 1), 7);
    cr->set_source_rgba(1, 1, 1, 1);
    cr->set_line_width(2);
    cr->stroke();
    cr->pop_group_to_source();
    cr->paint_with_alpha(kPanelOpacity);
    cr->restore();
}

void CODialogPainter::drawTitle(const Context& cr, const CODialogRect& rect,
                                const Glib::RefPtr<Pango::Layout>& text)
{
    if (text->get_text().empty()) {
        return;
    }
    cr->save();
    showText(cr, rect, text);
    cr->restore();
}

void CODialogPainter::drawButton(const Context& cr, const CODialogRect& bounds,
                                 const Glib::RefPtr<Pango::Layout>& title, bool highlighted, bool down)
{
    const CODialogRect r = bounds.integral();
    const CODialogRect face{r.x, r.y + 1, r.width, r.height - 2};
    cr->save();
    cr->set_fill_rule(Cairo::Context::FillRule::EVEN_ODD);

    cr->save();  // light edge under the face
    aroundFace(cr, face);
    cr->clip();
    paintShadow(cr, [&](const Context& c) { roundedRect(c, face, 4); }, {1, 1, 1, 0.25}, 0, 1, 0);
    cr->restore();

    cr->save();  // light edge inside the face's top
    roundedRect(cr, face, 4);
    cr->clip();
    paintShadow(cr, [&](const Context& c) { aroundFace(c, face); }, {1, 1, 1, 0.25}, 0, 2, 0);
    auto gloss = Cairo::LinearGradient::create(0, face.y, 0, face.maxY());
    gloss->add_color_stop_rgba(0, 1, 1, 1, 0.35);
    gloss->add_color_stop_rgba(0.5, 1, 1, 1, 0.1);
    gloss->add_color_stop_rgba(0.5, 1, 1, 1, 0);
    gloss->add_color_stop_rgba(1, 1, 1, 1, 0);
    cr->set_source(gloss);
    cr->paint();
    if (highlighted || down) {
        cr->set_source_rgba(highlighted ? 1 : 0, highlighted ? 1 : 0, highlighted ? 1 : 0, 0.25);
        cr->paint();
    }
    cr->restore();

    roundedRect(cr, face.insetBy(0.5, 0.5), 3.5);
    cr->set_source_rgba(0, 0, 0, 0.8);
    cr->set_line_width(1);
    cr->stroke();

    const double bandTop = r.y + std::floor((r.height - kTitleBandHeight) / 2 - 1);
    showText(cr, {r.x, bandTop, r.width, kTitleBandHeight}, title);
    cr->restore();
}

void CODialogPainter::drawSymbol(const Context& cr, const CODialogRect& rect, int style)
{
    static constexpr std::array<std::array<double, 2>, 6> kCheck{
        {{16, 23}, {27, 34}, {56, 5}, {63, 12}, {27, 48}, {9, 30}}};
    static constexpr std::array<std::array<double, 2>, 12> kCross{{{11, 17},
                                                                    {19, 9},
                                                                    {33, 23},
                                                                    {47, 9},
                                                                    {55, 17},
                                                                    {41, 31},
                                                                    {55, 45},
                                                                    {47, 53},
                                                                    {33, 39},
                                                                    {19, 53},
                                                                    {11, 45},
                                                                    {25, 31}}};
    std::vector<std::array<double, 2>> points;
    if (style == kCheckMarkStyle) {
        points.assign(kCheck.begin(), kCheck.end());
    } else if (style == kCrossStyle) {
        points.assign(kCross.begin(), kCross.end());
    } else {
        return;
    }
    const double ox = rect.x + (rect.width - kSymbolSize) / 2;
    const double oy = rect.y + (rect.height - kSymbolSize) / 2;
    const PathFn polygon = [&](const Context& c) {
        c->move_to(ox + points[0][0], oy + points[0][1]);
        for (std::size_t i = 1; i < points.size(); ++i) {
            c->line_to(ox + points[i][0], oy + points[i][1]);
        }
        c->close_path();
    };
    cr->save();
    paintShadow(cr, polygon, {0, 0, 0, 0.5}, 0, 3, 3);
    polygon(cr);
    cr->set_source_rgba(0, 0, 0, 0.5);
    cr->fill_preserve();
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cr->get_fill_extents(x1, y1, x2, y2);
    cr->clip();
    auto shade = Cairo::LinearGradient::create(0, y1, 0, y2);
    shade->add_color_stop_rgba(0, 1, 1, 1, 1);
    shade->add_color_stop_rgba(1, 0.7, 0.7, 0.7, 1);
    cr->set_source(shade);
    cr->paint();
    cr->restore();
}

void CODialogPainter::drawTextField(const Context& cr, const CODialogRect& bounds)
{
    const CODialogRect f = bounds.integral();
    cr->save();
    paintShadow(cr, [&](const Context& c) { rect(c, f); }, {1, 1, 1, 0.1}, 0, 1, 0);
    rect(cr, f);
    cr->set_source_rgba(1, 1, 1, 1);
    cr->fill();

    cr->save();  // inner shadow falling from the top edge
    rect(cr, f);
    cr->clip();
    cr->set_fill_rule(Cairo::Context::FillRule::EVEN_ODD);
    const CODialogRect frame{f.x - 3, f.y - 5, f.width + 6, f.height + 6};
    paintShadow(
        cr,
        [&](const Context& c) {
            c->set_fill_rule(Cairo::Context::FillRule::EVEN_ODD);
            rect(c, frame);
            rect(c, f);
        },
        {0.4, 0.4, 0.4, 1}, 0.1, 2.1, 2);
    cr->restore();

    // Half a point in, so the one-point line covers whole pixels.
    rect(cr, f.insetBy(0.5, 0.5));
    cr->set_source_rgba(0, 0, 0, 1);
    cr->set_line_width(1);
    cr->stroke();
    cr->restore();
}

void CODialogPainter::drawFocusRing(const Context& cr, const CODialogRect& buttonRect)
{
    const CODialogRect r = buttonRect.integral();
    const auto accent = UIColorSets::primaryActiveColor();
    cr->save();
    // Two rings, light on dark, so the focus shows on the plain and the highlighted face alike.
    const CODialogRect face = CODialogRect{r.x, r.y + 1, r.width, r.height - 2};
    roundedRect(cr, face.insetBy(2, 2), 3);
    cr->set_source_rgba(accent.red, accent.green, accent.blue, 1);
    cr->set_line_width(2.5);
    cr->stroke();
    roundedRect(cr, face.insetBy(3.75, 3.75), 2);
    cr->set_source_rgba(0, 0, 0, 0.6);
    cr->set_line_width(1);
    cr->stroke();
    cr->restore();
}

void CODialogPainter::drawDimmedBackground(const Context& cr, const CODialogRect& r)
{
    const double cx = r.x + r.width / 2;
    const double cy = r.y + r.height / 2;
    auto dim = Cairo::RadialGradient::create(cx, cy, 10, cx, cy, std::max(10.0, r.height / 2));
    dim->add_color_stop_rgba(0, 0, 0, 0, 0.2);
    dim->add_color_stop_rgba(1, 0, 0, 0, 0.7);
    dim->set_extend(Cairo::Pattern::Extend::PAD);
    cr->save();
    rect(cr, r);
    cr->set_source(dim);
    cr->fill();
    cr->restore();
}

Pango::FontDescription CODialogPainter::systemFont(Gtk::Widget& widget, double points, bool bold)
{
    Pango::FontDescription font = widget.get_pango_context()->get_font_description();
    font.set_weight(bold ? Pango::Weight::BOLD : Pango::Weight::NORMAL);
    font.set_size(static_cast<int>(std::lround(points * 0.75 * PANGO_SCALE)));
    return font;
}

}  // namespace quorvel
