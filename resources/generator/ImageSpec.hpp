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
};

// Every picture, gathered from the groups below.
std::vector<ImageSpec> allImages();

}  // namespace quorvel::art
