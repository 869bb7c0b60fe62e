// SPDX-License-Identifier: GPL-3.0-or-later
#include "RealInput.hpp"

#include <algorithm>

#include "GuiTest.hpp"

// Last: Xlib's macros (None, Status, True) must not meet the C++ headers above.
#include <gdk/x11/gdkx.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace quorvel::guitest {

namespace {

Display* xdisplay(Gtk::Window& window)
{
    return gdk_x11_display_get_xdisplay(gtk_widget_get_display(GTK_WIDGET(window.gobj())));
}

Window xwindow(Gtk::Window& window)
{
    return gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(window.gobj())));
}

// Without a window manager nobody hands out the keyboard focus: take it for the window.
void focus(Gtk::Window& window)
{
    Display* d = xdisplay(window);
    XRaiseWindow(d, xwindow(window));
    XSetInputFocus(d, xwindow(window), RevertToParent, CurrentTime);
    XSync(d, False);
    settle(5);
}

void key(Display* d, unsigned keysym, bool down)
{
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, keysym), down ? True : False, CurrentTime);
}

}  // namespace

void pressKey(Gtk::Window& window, unsigned keysym, std::initializer_list<unsigned> modifiers)
{
    focus(window);
    Display* d = xdisplay(window);
    for (unsigned m : modifiers) {
        key(d, m, true);
    }
    key(d, keysym, true);
    key(d, keysym, false);
    for (unsigned m : modifiers) {
        key(d, m, false);
    }
    XSync(d, False);
    settle(10);
}

void clickAt(Gtk::Window& window, double x, double y, unsigned button)
{
    focus(window);
    Display* d = xdisplay(window);
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(d, xwindow(window), DefaultRootWindow(d), static_cast<int>(x), static_cast<int>(y), &rootX,
                          &rootY, &child);
    XTestFakeMotionEvent(d, -1, rootX, rootY, CurrentTime);
    XSync(d, False);
    settle(3);
    XTestFakeButtonEvent(d, button, True, CurrentTime);
    XTestFakeButtonEvent(d, button, False, CurrentTime);
    XSync(d, False);
    settle(10);
}

bool resizeWindow(Gtk::Window& window, int width, int height)
{
    // A window in its larger form cannot go below that form's minimum at once; the user drags
    // on, and once the form has changed with the width, the smaller size is allowed.
    Display* d = xdisplay(window);
    const auto reached = [&] { return window.get_width() == width && window.get_height() == height; };
    for (int attempt = 0; attempt < 3 && !reached(); ++attempt) {
        XResizeWindow(d, xwindow(window), static_cast<unsigned>(width), static_cast<unsigned>(height));
        XSync(d, False);
        runUntil(reached, 3000);
        settle(10);
    }
    return reached();
}

bool resizeWindowOnce(Gtk::Window& window, int width, int height)
{
    Display* d = xdisplay(window);
    XResizeWindow(d, xwindow(window), static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(d, False);
    const auto reached = [&] { return window.get_width() == width && window.get_height() == height; };
    runUntil(reached, 3000);
    settle(20);
    return reached();
}

MinimumSize minimumSize(Gtk::Window& window, int atWidth)
{
    int minimumWidth = 0, natural = 0;
    gtk_widget_measure(GTK_WIDGET(window.gobj()), GTK_ORIENTATION_HORIZONTAL, -1, &minimumWidth, &natural, nullptr,
                       nullptr);
    int minimumHeight = 0, atMinimum = 0;
    gtk_widget_measure(GTK_WIDGET(window.gobj()), GTK_ORIENTATION_VERTICAL, std::max(atWidth, minimumWidth),
                       &minimumHeight, &natural, nullptr, nullptr);
    gtk_widget_measure(GTK_WIDGET(window.gobj()), GTK_ORIENTATION_VERTICAL, minimumWidth, &atMinimum, &natural,
                       nullptr, nullptr);
    return {minimumWidth, std::max(minimumHeight, atMinimum)};
}

}  // namespace quorvel::guitest
