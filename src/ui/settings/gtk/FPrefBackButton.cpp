// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefBackButton.hpp"

#include <gtkmm/snapshot.h>

#include "platform/Translation.hpp"
#include "ui/gtk/AccessibleText.hpp"
#include "ui/gtk/ImageStore.hpp"

namespace quorvel {

namespace {

constexpr int kPlainHeight = 32;
constexpr double kPointDepth = 12;  // how far the arrow's point reaches into the key

// Without the pictures: the same arrow-shaped key outlined.
void paintPlainKey(const Cairo::RefPtr<Cairo::Context>& cr, double w, double h, bool pressed)
{
    const double r = 6, inset = 1;
    cr->move_to(inset, h / 2);
    cr->line_to(kPointDepth, inset);
    cr->arc(w - inset - r, inset + r, r, -M_PI / 2, 0);
    cr->arc(w - inset - r, h - inset - r, r, 0, M_PI / 2);
    cr->line_to(kPointDepth, h - inset);
    cr->close_path();
    cr->set_source_rgb(pressed ? 0.13 : 0.25, pressed ? 0.17 : 0.26, pressed ? 0.14 : 0.36);
    cr->fill_preserve();
    cr->set_line_width(1.5);
    cr->set_line_join(Cairo::Context::LineJoin::ROUND);
    if (pressed) {
        cr->set_source_rgb(0.6, 0.8, 0.2);
    } else {
        cr->set_source_rgb(0.08, 0.08, 0.13);
    }
    cr->stroke();
}

}  // namespace

FPrefBackButton::FPrefBackButton()
{
    add_css_class("qv-back");
    set_child(title_);
    title_.set_margin_start(static_cast<int>(kPointDepth) / 2);
    const ImageStore::Image* image = ImageStore::image("button_back");
    set_size_request(kWidth, image != nullptr ? static_cast<int>(image->height) : kPlainHeight);
    set_valign(Gtk::Align::CENTER);
    set_tooltip_text(_("Back"));
    AccessibleText::name(*this, _("Back"));
}

void FPrefBackButton::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const bool pressed = (get_state_flags() & Gtk::StateFlags::ACTIVE) == Gtk::StateFlags::ACTIVE;
    const int w = get_width(), h = get_height();
    if (w > 0 && h > 0) {
        const Gdk::Rectangle bounds(0, 0, w, h);
        if (const ImageStore::Image* image = ImageStore::image(pressed ? "button_back_a" : "button_back")) {
            const graphene_rect_t rect = GRAPHENE_RECT_INIT(0.f, 0.f, static_cast<float>(w), static_cast<float>(h));
            gtk_snapshot_append_texture(snapshot->gobj(), image->texture->gobj(), &rect);
        } else {
            paintPlainKey(snapshot->append_cairo(bounds), w, h, pressed);
        }
    }
    Gtk::Button::snapshot_vfunc(snapshot);
}

}  // namespace quorvel
