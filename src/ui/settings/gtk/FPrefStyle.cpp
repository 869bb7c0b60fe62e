// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefStyle.hpp"

#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

#include "ui/gtk/SystemStyle.hpp"

namespace quorvel {

namespace {

// The colours are the style's named ones (style.css and its dark and high-contrast variants), so
// the pages follow the desktop's style; the navigation bar keeps its black gradient, a dark bar
// in every style. Text sizes in points follow the desktop's text scaling.
constexpr const char* kCss = R"css(
.qv-pref-page { background-color: @quorvel_page; }
.qv-navbar {
  background-image: linear-gradient(to bottom, #17181f, #000000);
  border-bottom: 1px solid #000000;
  min-height: 44px;
}
.qv-navbar-title { color: #ffffff; font-weight: bold; font-size: 13.5pt; text-shadow: 0 -1px #000000; }

button.qv-back, button.qv-back:hover, button.qv-back:active, button.qv-back:checked {
  background: none; border: none; box-shadow: none; outline-offset: -2px;
  padding: 0; min-height: 0; min-width: 0;
}
button.qv-back label { color: #c7c9d4; font-weight: bold; font-size: 9.75pt; text-shadow: 0 -1px #000000; }
button.qv-back:active label { color: #99cc33; }

.qv-pref-page scrolledwindow, .qv-pref-page viewport { background: none; }
list.qv-pref-group { background: none; }
list.qv-pref-group > row.qv-pref-row,
list.qv-pref-group > row.qv-pref-row:hover,
list.qv-pref-group > row.qv-pref-row:active,
list.qv-pref-group > row.qv-pref-row:selected,
list.qv-pref-group > row.qv-pref-row:selected:hover {
  background: none; border: none; box-shadow: none; border-radius: 0;
  padding: 0; min-height: 44px;
}
row.qv-pref-row label.qv-pref-title { color: @quorvel_strong_text; font-weight: bold; font-size: 12pt; }
row.qv-pref-row.qv-tablet label.qv-pref-title { font-size: 12.75pt; }
row.qv-pref-row.qv-muted label.qv-pref-title { color: @quorvel_soft_text; }
row.qv-pref-row label.qv-pref-subtitle { color: @quorvel_soft_text; font-size: 9pt; }
row.qv-pref-row:active label.qv-pref-title,
row.qv-pref-row.qv-chosen label.qv-pref-title { color: @quorvel_accent_text; }
row.qv-pref-row switch:checked, .qv-connections switch:checked { background-color: @accent_bg_color; }
list.qv-pref-group > row.qv-pref-row:focus-visible { outline: 2px solid @quorvel_accent_text; outline-offset: -3px; border-radius: 8px; }

.qv-pref-header { color: @quorvel_strong_text; font-size: 13.5pt; text-shadow: 0 1px @quorvel_text_shadow; }
.qv-pref-header.qv-reset-header { color: @quorvel_soft_text; font-size: 12pt; }
.qv-pref-footer { color: @quorvel_soft_text; font-size: 9pt; text-shadow: 0 1px @quorvel_text_shadow; }
.qv-pref-footer.qv-tablet { font-size: 10.5pt; }

.qv-reference { background-color: @quorvel_page; }
)css";

}  // namespace

void FPrefStyle::install()
{
    static const bool installed = [] {
        SystemStyle::install();
        auto provider = Gtk::CssProvider::create();
        provider->load_from_data(kCss);
        if (auto display = Gdk::Display::get_default()) {
            Gtk::StyleContext::add_provider_for_display(display, provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        }
        return true;
    }();
    (void)installed;
}

}  // namespace quorvel
