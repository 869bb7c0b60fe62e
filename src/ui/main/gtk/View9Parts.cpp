// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/gtk/View9Parts.hpp"

#include <gtkmm/border.h>
#include <gtkmm/snapshot.h>
#include <gtkmm/stylecontext.h>

#include "ui/gtk/SystemStyle.hpp"

namespace quorvel {

namespace {

const UIImageAdditions::Images& sharedPanelImages()
{
    static const UIImageAdditions::Images images = [] {
        UIImageAdditions::Images loaded;
        for (const char* name : View9Parts::kPieceNames) {
            const ImageStore::Image* image = UIImageAdditions::LoadPNGImage(name);
            if (image == nullptr) {
                break;
            }
            loaded.push_back(image);
        }
        return loaded;
    }();
    return images;
}

}  // namespace

View9Parts::View9Parts(Gtk::Orientation orientation, int spacing) : Gtk::Box(orientation, spacing)
{
    add_css_class("qv-panel");
}

// The shared pictures are dark: in the light style and in high contrast the style sheet's card
// stands in for them.
const UIImageAdditions::Images& View9Parts::getPanelImages() const
{
    static const UIImageAdditions::Images none;
    return SystemStyle::picturesShown() ? sharedPanelImages() : none;
}

void View9Parts::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const UIImageAdditions::Images& images = getPanelImages();
    // The frame spans the padding too, as a background would: the children sit inside it.
    const Gtk::Border pad = get_style_context()->get_padding();
    const int x = -pad.get_left();
    const int y = -pad.get_top();
    const int w = get_width() + pad.get_left() + pad.get_right();
    const int h = get_height() + pad.get_top() + pad.get_bottom();
    if (images.size() >= 9 && w > 0 && h > 0) {
        auto cr = snapshot->append_cairo(Gdk::Rectangle(x, y, w, h));
        UIImageAdditions::drawNinePartImage(cr, images, ViewRect{static_cast<double>(x), static_cast<double>(y),
                                                                 static_cast<double>(w), static_cast<double>(h)});
    }
    Gtk::Box::snapshot_vfunc(snapshot);
}

}  // namespace quorvel
