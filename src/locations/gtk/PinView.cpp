// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/gtk/PinView.hpp"

#include <cmath>
#include <numbers>

#include "locations/PinPicture.hpp"
#include "ui/gtk/ImageStore.hpp"

namespace quorvel {

PinView::PinView()
{
    set_draw_func(sigc::mem_fun(*this, &PinView::draw));
    set_can_target(false);  // clicks belong to the button around the pin
}

void PinView::setPicture(const std::string& name)
{
    name_ = name;
    const ImageStore::Image* image = ImageStore::image(name);
    const double width = image ? image->width : kFallbackWidth;
    height_ = image ? image->height : kFallbackHeight;
    set_content_width(static_cast<int>(std::ceil(width)));
    set_content_height(static_cast<int>(std::ceil(height_)));
    queue_draw();
}

void PinView::draw(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height) const
{
    if (const ImageStore::Image* image = ImageStore::image(name_)) {
        // The surface carries a device scale of 2, so it paints in points.
        cr->set_source(image->surface, (width - image->width) / 2.0, height - image->height);
        cr->paint();
        return;
    }
    drawFallback(cr, width, height);
}

void PinView::drawFallback(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height) const
{
    // A round head over a point that ends at the bottom centre, where the place is.
    const double r = width / 2.0 - 1.0;
    const double cx = width / 2.0;
    const double cy = r + 1.0;
    const double tipY = height - 0.5;
    // Where the lines from the tip touch the head, either side of straight down.
    const double touch = std::acos(std::min(1.0, r / (tipY - cy)));
    cr->begin_new_path();
    cr->move_to(cx, tipY);
    cr->arc(cx, cy, r, std::numbers::pi / 2 + touch, std::numbers::pi * 2.5 - touch);
    cr->close_path();
    const UIColorSets::Rgba c = PinPicture::fallbackColor(name_);
    cr->set_source_rgba(c.red, c.green, c.blue, c.alpha);
    cr->fill_preserve();
    cr->set_source_rgba(0, 0, 0, 0.55);
    cr->set_line_width(1.0);
    cr->stroke();
    cr->arc(cx, cy, r * 0.38, 0, 2 * std::numbers::pi);
    cr->set_source_rgba(1, 1, 1, 0.9);
    cr->fill();
}

}  // namespace quorvel
