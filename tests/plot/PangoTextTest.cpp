// SPDX-License-Identifier: GPL-3.0-or-later
// Text measured at the scale of the image it is drawn into is drawn from the layout that measured
// it: every pixel as a layout made for the box would draw it, whatever the alignment, the box's
// width (fractional, narrower than the text) and the scale, one after the other.
#include "plot/CPTMutableTextStyle.hpp"
#include "plot/cairo/CPTCairoContext.hpp"
#include "plot/cairo/CPTCairoHandles.hpp"
#include "plot/cairo/CPTPangoTextMetrics.hpp"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

constexpr double kWidth = 120.0;
constexpr double kHeight = 40.0;

CairoSurfaceHandle blankImage(double scale)
{
    return CairoSurfaceHandle(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(kWidth * scale),
                                                         static_cast<int>(kHeight * scale)));
}

std::vector<unsigned char> bytesOf(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    return {data, data + cairo_image_surface_get_stride(surface) * cairo_image_surface_get_height(surface)};
}

PangoAlignment pangoAlignment(CPTTextAlignment a)
{
    return a == CPTTextAlignment::Center ? PANGO_ALIGN_CENTER
                                         : a == CPTTextAlignment::Right ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT;
}

// The text as a layout of its own, made for the box, draws it.
std::vector<unsigned char> drawnFresh(const std::string& text, const CPTTextStyle& style, const CPTRect& box,
                                      double scale)
{
    const CairoSurfaceHandle image = blankImage(scale);
    CairoHandle cr(cairo_create(image.get()));
    cairo_scale(cr.get(), scale, scale);
    PangoContextHandle context(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    CPTPangoTextMetrics::configureContext(context.get());
    pango_cairo_update_context(cr.get(), context.get());
    PangoLayoutHandle layout(pango_layout_new(context.get()));
    const auto description = CPTPangoTextMetrics::fontDescription(style.fontName(), style.fontSize());
    pango_layout_set_font_description(layout.get(), description.get());
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
    pango_layout_set_width(layout.get(), static_cast<int>(std::ceil(box.width() * PANGO_SCALE)));
    pango_layout_set_alignment(layout.get(), pangoAlignment(style.textAlignment()));
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    cairo_set_source_rgba(cr.get(), 1, 1, 1, 1);
    cairo_move_to(cr.get(), box.origin.x, box.origin.y);
    pango_cairo_show_layout(cr.get(), layout.get());
    return bytesOf(image.get());
}

// The text measured by the shared metrics for an image of that scale, then drawn by the engine.
std::vector<unsigned char> drawnMeasured(const std::string& text, const CPTTextStyle& style, const CPTRect& box,
                                         double scale)
{
    CPTPangoTextMetrics::prepareForImageScale(scale);
    const CPTSize size = CPTPangoTextMetrics::instance()->sizeOfText(text, style.fontName(), style.fontSize());
    EXPECT_GT(size.width, 0.0);
    const CairoSurfaceHandle image = blankImage(scale);
    CairoHandle cr(cairo_create(image.get()));
    cairo_scale(cr.get(), scale, scale);
    CPTCairoContext context(cr.get());
    context.drawText(text, box, style);
    return bytesOf(image.get());
}

TEST(PangoText, MeasuredTextIsDrawnAsALayoutOfItsBoxWouldDrawIt)
{
    int tried = 0;
    for (const double scale : {2.0, 1.0, 3.0}) {
        for (const CPTTextAlignment alignment :
             {CPTTextAlignment::Left, CPTTextAlignment::Center, CPTTextAlignment::Right}) {
            for (const double width : {101.3, 112.0, 20.0}) {  // wider than the text, a whole width, too narrow
                CPTMutableTextStyle style;
                style.setFontName("Helvetica");
                style.setFontSize(11.0 + scale);  // texts not measured before, in each round
                style.setColor(CPTColor::colorWithGenericGray(1.0));
                style.setTextAlignment(alignment);
                const std::string text = "Sep 1" + std::to_string(tried % 10) + " 1.5 GB";
                const CPTRect box = CPTRect::make(3.25, 4.0, width, 30.0);
                const auto fresh = drawnFresh(text, style, box, scale);
                EXPECT_EQ(drawnMeasured(text, style, box, scale), fresh)
                    << text << " at scale " << scale << ", width " << width << ", alignment "
                    << static_cast<int>(alignment);
                ++tried;
                EXPECT_NE(std::vector<unsigned char>(fresh.size(), 0), fresh) << "the text was drawn";
            }
        }
    }
}

}  // namespace
