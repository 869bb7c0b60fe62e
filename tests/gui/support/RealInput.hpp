// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Input as a user gives it: keys, mouse buttons and window sizes go through the X server (XTest
// and a configure request), so GTK delivers them through its own event propagation exactly as
// it would from a keyboard, a mouse or a window manager.
#include <initializer_list>

#include <gtkmm/window.h>

namespace quorvel::guitest {

// Presses and releases `keysym` on the window with the modifier keysyms held down around it
// (e.g. {XK_Alt_L}), then lets GTK handle the events.
void pressKey(Gtk::Window& window, unsigned keysym, std::initializer_list<unsigned> modifiers = {});
// Moves the pointer to (x, y) of the window and clicks `button` (1 left, 8 back).
void clickAt(Gtk::Window& window, double x, double y, unsigned button = 1);
// Asks the X server for that size, as a window manager does when the user resizes, and waits
// until GTK has laid the window out at it (asking again, as a user drags on, while a form's
// minimum holds it back).
bool resizeWindow(Gtk::Window& window, int width, int height);
// One request for that size, as a single drag of the window's edge; whether GTK laid the
// window out at it.
bool resizeWindowOnce(Gtk::Window& window, int width, int height);
// The smallest size the realised window accepts: its content's minimum width, and the minimum
// height at that width and at `atWidth`, whichever is larger.
struct MinimumSize {
    int width, height;
};
MinimumSize minimumSize(Gtk::Window& window, int atWidth);

}  // namespace quorvel::guitest
