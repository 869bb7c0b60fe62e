// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefTableRow.hpp"

#include <algorithm>

#include <gtkmm/snapshot.h>

#include "platform/Translation.hpp"
#include "ui/gtk/AccessibleText.hpp"
#include "ui/gtk/ImageStore.hpp"
#include "ui/gtk/SystemStyle.hpp"

namespace quorvel {

namespace {

// Draws `image` over (0, 0, width, height) with its corners and edges at their own size and
// only its middle stretched.
void paintNineSlice(const Cairo::RefPtr<Cairo::Context>& cr, const ImageStore::Image& image, double width,
                    double height, double cap)
{
    const double capX = std::min({cap, image.width / 2, width / 2});
    const double capY = std::min({cap, image.height / 2, height / 2});
    const double srcX[] = {0, capX, image.width - capX, image.width};
    const double srcY[] = {0, capY, image.height - capY, image.height};
    const double dstX[] = {0, capX, width - capX, width};
    const double dstY[] = {0, capY, height - capY, height};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const double sw = srcX[i + 1] - srcX[i], sh = srcY[j + 1] - srcY[j];
            const double dw = dstX[i + 1] - dstX[i], dh = dstY[j + 1] - dstY[j];
            if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) {
                continue;
            }
            cr->save();
            cr->rectangle(dstX[i], dstY[j], dw, dh);
            cr->clip();
            cr->translate(dstX[i], dstY[j]);
            cr->scale(dw / sw, dh / sh);
            cr->set_source(image.surface, -srcX[i], -srcY[j]);
            auto pattern = cr->get_source();
            pattern->set_extend(Cairo::Pattern::Extend::PAD);
            cr->paint();
            cr->restore();
        }
    }
}

// Without the row pictures: a plain rounded group in the style's card colour, framed.
void paintPlainRow(const Cairo::RefPtr<Cairo::Context>& cr, const std::string& name, double width, double height,
                   const Gdk::RGBA& fill, const Gdk::RGBA& frame)
{
    const bool top = name.ends_with("tabrow") || name.ends_with("_up");
    const bool bottom = name.ends_with("tabrow") || name.ends_with("_down");
    const double r = 8, rt = top ? r : 0, rb = bottom ? r : 0;
    cr->begin_new_sub_path();
    cr->arc(width - rt - 0.5, rt + 0.5, rt, -M_PI / 2, 0);
    cr->arc(width - rb - 0.5, height - rb - 0.5, rb, 0, M_PI / 2);
    cr->arc(rb + 0.5, height - rb - 0.5, rb, M_PI / 2, M_PI);
    cr->arc(rt + 0.5, rt + 0.5, rt, M_PI, 3 * M_PI / 2);
    cr->close_path();
    cr->set_source_rgba(fill.get_red(), fill.get_green(), fill.get_blue(), fill.get_alpha());
    cr->fill_preserve();
    cr->set_source_rgba(frame.get_red(), frame.get_green(), frame.get_blue(), frame.get_alpha());
    cr->set_line_width(1);
    cr->stroke();
}

Glib::RefPtr<Gdk::Paintable> picture(const std::string& name)
{
    const ImageStore::Image* image = ImageStore::image(name);
    return image != nullptr ? image->texture : Glib::RefPtr<Gdk::Paintable>();
}

}  // namespace

FPrefTableRow::FPrefTableRow(const std::string& text, const std::string& icon, Accessory accessory, bool tablet)
    : label_(text)
{
    add_css_class("qv-pref-row");
    if (tablet) {
        add_css_class("qv-tablet");
    }
    set_child(box_);
    box_.set_valign(Gtk::Align::CENTER);
    // Inside the picture, which covers the whole row.
    box_.set_margin_start(kInset);
    box_.set_margin_end(kInset);
    if (!icon.empty()) {
        hasIcon_ = true;
        icon_.set_pixel_size(kIconSize);
        if (auto paintable = picture(icon)) {
            icon_.set(paintable);
        }
        icon_.set_size_request(kIconSize, kIconSize);
        box_.append(icon_);
    }
    label_.add_css_class("qv-pref-title");
    label_.set_xalign(0);
    label_.set_ellipsize(Pango::EllipsizeMode::END);
    subtitle_.add_css_class("qv-pref-subtitle");
    subtitle_.set_xalign(0);
    subtitle_.set_wrap(true);
    subtitle_.set_visible(false);
    texts_.set_hexpand(true);
    texts_.set_valign(Gtk::Align::CENTER);
    texts_.append(label_);
    texts_.append(subtitle_);
    box_.append(texts_);

    if (accessory == Accessory::Switch) {
        toggle_ = std::make_unique<Gtk::Switch>();
        toggle_->set_valign(Gtk::Align::CENTER);
        box_.append(*toggle_);
        // A tap on the title toggles the switch too (the list turns the activation into it).
        set_selectable(false);
    } else if (accessory != Accessory::None) {
        if (auto paintable = picture("arrow")) {
            arrow_.set(paintable);
            arrow_.set_pixel_size(16);
        } else {
            arrow_.set_from_icon_name("go-next-symbolic");
        }
        box_.append(arrow_);
    }
    setText(text);
}

void FPrefTableRow::setText(const std::string& text)
{
    const std::string shown = Translation::tr(text);
    label_.set_text(shown);
    AccessibleText::name(*this, shown);
    if (toggle_) {
        // Said with the switch's own role and state: "Record Places, switch, on".
        AccessibleText::name(*toggle_, shown);
    }
}

void FPrefTableRow::setSubtitle(const std::string& text)
{
    subtitle_.set_text(text);
    subtitle_.set_visible(!text.empty());
    AccessibleText::describe(*this, text);
}

void FPrefTableRow::wrapTitle()
{
    label_.set_ellipsize(Pango::EllipsizeMode::NONE);
    label_.set_wrap(true);
}

void FPrefTableRow::reserveIconSpace()
{
    if (!hasIcon_) {
        hasIcon_ = true;
        icon_.set_size_request(kIconSize, kIconSize);
        box_.prepend(icon_);
    }
}

void FPrefTableRow::setBackgroundName(const std::string& name)
{
    if (name != background_) {
        background_ = name;
        queue_draw();
    }
}

void FPrefTableRow::paintBackground(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height) const
{
    // The pictures are dark rows: the light style and high contrast take the style's colours.
    const ImageStore::Image* image = SystemStyle::picturesShown() ? ImageStore::image(background_) : nullptr;
    if (image != nullptr) {
        paintNineSlice(cr, *image, width, height, kCap);
        return;
    }
    Gdk::RGBA fill("rgb(50, 53, 77)"), frame("rgb(66, 70, 98)");
    GtkStyleContext* style = gtk_widget_get_style_context(GTK_WIDGET(const_cast<GtkListBoxRow*>(gobj())));
    gtk_style_context_lookup_color(style, "quorvel_surface", fill.gobj());
    gtk_style_context_lookup_color(style, SystemStyle::highContrast() ? "quorvel_strong_text" : "quorvel_rule",
                                   frame.gobj());
    paintPlainRow(cr, background_, width, height, fill, frame);
}

void FPrefTableRow::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const double width = get_width(), height = get_height();
    if (width > 0 && height > 0 && !background_.empty()) {
        auto cr = snapshot->append_cairo(Gdk::Rectangle(0, 0, get_width(), get_height()));
        paintBackground(cr, width, height);
        if ((get_state_flags() & Gtk::StateFlags::PRELIGHT) == Gtk::StateFlags::PRELIGHT && get_activatable()) {
            // A faint light on the row under the pointer, in the row's own shape.
            cr->push_group();
            paintBackground(cr, width, height);
            auto shape = cr->pop_group();
            cr->set_source_rgba(1, 1, 1, 0.05);
            cr->mask(shape);
        }
    }
    Gtk::ListBoxRow::snapshot_vfunc(snapshot);
}

}  // namespace quorvel
