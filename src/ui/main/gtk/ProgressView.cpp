// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/gtk/ProgressView.hpp"

#include <gtkmm/stylecontext.h>

#include <gtk/gtk.h>
#include <pangomm/context.h>

#include "ui/gtk/ImageStore.hpp"
#include "ui/main/gtk/UIImageAdditions.hpp"

namespace quorvel {

namespace {

using Geometry = ProgressViewGeometry;
using Image = ImageStore::Image;

// The seven pictures, loaded on first use and shared by every gauge.
struct GaugeImages {
    const Image* leftBord = ImageStore::image("shkala_left.png");
    const Image* rightBord = ImageStore::image("shkala_right.png");
    const Image* filled = ImageStore::image("shkala_green@2x.png");
    const Image* blank = ImageStore::image("shkala_white.png");
    const Image* markerTop = ImageStore::image("arrow_down.png");
    const Image* markerBot = ImageStore::image("arrow_up.png");
    const Image* marker = ImageStore::image("punktir.png");

    static const GaugeImages& shared()
    {
        static const GaugeImages images;
        return images;
    }
};

double widthOf(const Image* image)
{
    return image == nullptr ? 0.0 : image->width;
}

double heightOf(const Image* image)
{
    return image == nullptr ? 0.0 : image->height;
}

constexpr double kPercentSize = 24;
constexpr double kDateSize = 12;

// The interface's sans family at a size in points, bold or regular; made once per kind.
const Pango::FontDescription& gaugeFont(const Glib::RefPtr<Pango::Context>& context, bool bold)
{
    static const auto make = [](const Glib::RefPtr<Pango::Context>& c, bool b, double size) {
        Pango::FontDescription font = c->get_font_description();
        if (font.get_family().empty()) {
            font.set_family("Sans");
        }
        font.set_weight(b ? Pango::Weight::BOLD : Pango::Weight::NORMAL);
        font.set_style(Pango::Style::NORMAL);
        font.set_absolute_size(size * PANGO_SCALE);
        return font;
    };
    static const Pango::FontDescription boldFont = make(context, true, kPercentSize);
    static const Pango::FontDescription regularFont = make(context, false, kDateSize);
    return bold ? boldFont : regularFont;
}

struct TextSize {
    double width = 0;
    double height = 0;
};

TextSize sizeOf(const Glib::RefPtr<Pango::Layout>& layout)
{
    int w = 0, h = 0;
    layout->get_size(w, h);
    return {static_cast<double>(w) / PANGO_SCALE, static_cast<double>(h) / PANGO_SCALE};
}

}  // namespace

ProgressView::ProgressView(double minimumBar)
{
    add_css_class("qv-gauge");
    set_hexpand(true);
    const double dateHeight = sizeOf(layout("Mg", false)).height;
    set_content_height(static_cast<int>(Geometry::preferredHeight(margins(), dateHeight, minimumBar)));
    set_content_width(static_cast<int>(getLeftMarg() + getRightMarg() + 120));
    set_draw_func(sigc::mem_fun(*this, &ProgressView::drawRect));
}

void ProgressView::setDProgr(double value)
{
    if (value != dProgr_) {
        dProgr_ = value;
        setNeedsDisplay();
    }
}

void ProgressView::setDMarker(double value)
{
    if (value != dMarker_) {
        dMarker_ = value;
        setNeedsDisplay();
    }
}

void ProgressView::setStrProgrText(std::string text)
{
    if (text != strProgrText_) {
        strProgrText_ = std::move(text);
        setNeedsDisplay();
    }
}

void ProgressView::setStrMarkerText(std::string text)
{
    if (text != strMarkerText_) {
        strMarkerText_ = std::move(text);
        setNeedsDisplay();
    }
}

void ProgressView::setNeedsDisplay()
{
    ++redrawRequests_;
    queue_draw();
    // What a screen reader says for the picture: the two texts the gauge shows.
    const std::string spoken = strProgrText_ + ", " + strMarkerText_;
    gtk_accessible_update_property(GTK_ACCESSIBLE(gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL, spoken.c_str(), -1);
}

ProgressViewGeometry::Margins ProgressView::margins() const
{
    const GaugeImages& img = GaugeImages::shared();
    const bool arrows = img.markerTop != nullptr && img.markerBot != nullptr;
    return Geometry::margins(widthOf(img.leftBord), widthOf(img.rightBord), arrows, heightOf(img.markerTop),
                             heightOf(img.markerBot));
}

double ProgressView::getLeftMarg() const
{
    return margins().left;
}

double ProgressView::getRightMarg() const
{
    return margins().right;
}

double ProgressView::getVertMargin() const
{
    return margins().vert;
}

ViewRect ProgressView::getProgressRect() const
{
    return Geometry::progressRect(get_width(), get_height(), margins());
}

ViewRect ProgressView::getFilledRect() const
{
    return Geometry::filledRect(getProgressRect(), dProgr_);
}

void ProgressView::getTitleRectForMarker(ViewRect* left, ViewRect* right) const
{
    const auto titles = Geometry::titleRects(get_height(), getProgressRect(), dMarker_);
    if (left != nullptr) {
        *left = titles.left;
    }
    if (right != nullptr) {
        *right = titles.right;
    }
}

void ProgressView::drawRect(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height)
{
    drawImages(cr, width, height);
    drawProgressText(cr);
    drawMarkerText(cr, height);
}

void ProgressView::drawImages(const Cairo::RefPtr<Cairo::Context>& cr, double w, double h)
{
    const GaugeImages& img = GaugeImages::shared();
    const auto m = margins();
    const ViewRect bar = Geometry::progressRect(w, h, m);
    UIImageAdditions::drawImageInRect(cr, img.blank, bar);
    UIImageAdditions::drawImageInRect(cr, img.leftBord, {0, bar.y, m.left, bar.height});
    UIImageAdditions::drawImageInRect(cr, img.rightBord, {w - m.right, bar.y, m.right, bar.height});
    UIImageAdditions::drawImageInRect(cr, img.filled, Geometry::filledRect(bar, dProgr_));
    UIImageAdditions::drawImageInRect(cr, img.marker, Geometry::markerLineRect(bar, dMarker_, widthOf(img.marker)));
    UIImageAdditions::drawImageInRect(
        cr, img.markerTop, Geometry::topArrowRect(bar, dMarker_, widthOf(img.markerTop), heightOf(img.markerTop)));
    UIImageAdditions::drawImageInRect(
        cr, img.markerBot, Geometry::bottomArrowRect(bar, dMarker_, widthOf(img.markerBot), heightOf(img.markerBot)));
}

void ProgressView::drawProgressText(const Cairo::RefPtr<Cairo::Context>& cr)
{
    if (strProgrText_.empty()) {
        return;
    }
    auto text = layout(strProgrText_, true);
    const TextSize size = sizeOf(text);
    const ViewRect bar = Geometry::progressRect(get_width(), get_height(), margins());
    const auto placed = Geometry::progressTextPlacement(bar, Geometry::filledRect(bar, dProgr_), size.width, size.height);
    if (placed.inside) {
        cr->set_source_rgb(1, 1, 1);
    } else {
        cr->set_source_rgb(1.0 / 3, 1.0 / 3, 1.0 / 3);
    }
    cr->move_to(placed.origin.x, placed.origin.y);
    text->show_in_cairo_context(cr);
}

void ProgressView::drawMarkerText(const Cairo::RefPtr<Cairo::Context>& cr, double height)
{
    if (strMarkerText_.empty()) {
        return;
    }
    auto text = layout(strMarkerText_, false);
    const ViewRect bar = Geometry::progressRect(get_width(), height, margins());
    const auto titles = Geometry::titleRects(height, bar, dMarker_);
    const auto origin = Geometry::markerTextPlacement(titles, Geometry::markerX(bar, dMarker_), sizeOf(text).width);
    // The date stands on the screen, not on the gauge: in the screen's text colour, so that it
    // reads in the light style too.
    const Gdk::RGBA colour = get_style_context()->get_color();
    cr->set_source_rgba(colour.get_red(), colour.get_green(), colour.get_blue(), colour.get_alpha());
    cr->move_to(origin.x, origin.y);
    text->show_in_cairo_context(cr);
}

Glib::RefPtr<Pango::Layout> ProgressView::layout(const std::string& text, bool bold)
{
    auto result = create_pango_layout(text);
    result->set_font_description(gaugeFont(get_pango_context(), bold));
    return result;
}

}  // namespace quorvel
