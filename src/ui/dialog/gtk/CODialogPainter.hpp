// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cairomm/context.h>
#include <gtkmm/widget.h>
#include <pangomm/layout.h>

#include "ui/dialog/CODialogLayout.hpp"

namespace quorvel {

// The dialog's whole chrome, drawn with Cairo: panel, texts, buttons, field frames, symbols and
// the dimming behind it. Rectangles are in the context's user space (points); texts come as
// Pango layouts that already carry their text and font.
class CODialogPainter {
public:
    static constexpr int kCheckMarkStyle = 3;
    static constexpr int kCrossStyle = 4;
    static constexpr double kSymbolSize = 64;
    static constexpr double kTitleBandHeight = 18;  // a button's title band

    // Darkens what lies under the see-through panel, in the panel's shape, so that the screen
    // below never shows through behind the texts (white texts keep well over 4.5:1 contrast).
    // The widget's font at `points` (Pango counts 0.75 pt per point on screen at the standard
    // resolution; the user's text scaling still applies).
    static Pango::FontDescription systemFont(Gtk::Widget& widget, double points, bool bold);
    static void drawPanelUnderlay(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& bounds);
    // The dark glossy panel with its shadow and outline, at 0.65 opacity, inside `bounds`.
    static void drawDialogBackground(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& bounds);
    // White text centred in the rectangle, wrapped, truncated in the middle where it does not fit.
    static void drawTitle(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect,
                          const Glib::RefPtr<Pango::Layout>& text);
    static void drawButton(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect,
                           const Glib::RefPtr<Pango::Layout>& title, bool highlighted, bool down);
    // The check mark (style 3) or the cross (style 4), centred in the rectangle; nothing otherwise.
    static void drawSymbol(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect, int style);
    static void drawTextField(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect);
    // The keyboard-focus ring inside a button's face, in the accent colour.
    static void drawFocusRing(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& buttonRect);
    static void drawDimmedBackground(const Cairo::RefPtr<Cairo::Context>& cr, const CODialogRect& rect);
};

}  // namespace quorvel
