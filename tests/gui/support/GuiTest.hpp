// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for tests of real widgets: running the main loop until a condition holds, and taking
// a widget's picture as a Cairo image surface.
#include <functional>
#include <string>

#include <cairomm/surface.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>

namespace quorvel::guitest {

// Iterates the default main context until `done` holds or `timeoutMs` passed; returns `done()`.
bool runUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Lets pending idle work and redraws run.
void settle(int iterations = 50);
// Lets the window of a shown widget lay out and paint `frames` more times once it is mapped;
// each frame is asked for, since a window with nothing to redraw produces none.
void waitFrames(Gtk::Widget& widget, int frames = 2);
// Waits until `page`, as wide as `frame` which holds it, has slid in to its left edge; false if
// it never does.
bool runUntilSlidIn(Gtk::Widget& page, Gtk::Widget& frame);
// Renders a realized widget (through its snapshot) into an image at `scale` pixels per point.
Cairo::RefPtr<Cairo::ImageSurface> picture(Gtk::Widget& widget, double scale = 1.0);
// Red, green, blue (0..255) at a point of the picture.
struct Rgb {
    int r, g, b;
};
Rgb pixel(const Cairo::RefPtr<Cairo::ImageSurface>& image, double x, double y, double scale = 1.0);
// Every label text below a widget, in tree order.
std::vector<std::string> labelTexts(Gtk::Widget& root);
// Writes the picture to a PNG file when QUORVEL_SCREENSHOTS names a directory.
void keepScreenshot(const Cairo::RefPtr<Cairo::ImageSurface>& image, const std::string& name);

}  // namespace quorvel::guitest
