// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

namespace quorvel::art {

// One picture of the application: drawn with Cairo in points, written at two pixels per point
// (the screens use the point size, HiDPI screens get the pixels).
struct ImageSpec {
    std::string name;    // the resource name the screens ask for, e.g. "arrow_up.png"
    double width = 0;    // points
    double height = 0;
    std::function<void(cairo_t*, double width, double height)> paint;
    // When set, the picture is also bundled as an icon of that name under the bundle's icons/
    // path, so widgets that take an icon name (the tab bar) can show it.
    std::string iconName = {};
};

// Every picture, gathered from the groups below.
std::vector<ImageSpec> allImages();

std::vector<ImageSpec> tabImages();     // tab bar icons and the bar backgrounds
std::vector<ImageSpec> gaugeImages();   // the usage gauge's bar, caps, marker and arrows
std::vector<ImageSpec> panelImages();   // the nine pieces of the framed panels
std::vector<ImageSpec> pinImages();     // map markers by amount
std::vector<ImageSpec> buttonImages();  // the panel toggle and the back button
std::vector<ImageSpec> rowImages();     // grouped list row backgrounds, phone and tablet
std::vector<ImageSpec> iconImages();    // settings row icons and the disclosure arrow

// The application icon, drawn into a square of `size` points (also written as SVG).
void paintAppIcon(cairo_t* cr, double size);

}  // namespace quorvel::art
