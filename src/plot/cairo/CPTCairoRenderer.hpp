// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/cairo/CPTCairoHandles.hpp"

#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class CPTGraph;
class CPTGraphHostingView;

// Renders hosted graphs with Cairo: into a Cairo context or surface (what the screen widget
// does on every paint) or into a PNG, SVG or PDF file, chosen by the file's extension.
class CPTCairoRenderer {
public:
    // Paints the view into `cr`, whose user space is the view's own (points, y down).
    static void renderHost(CPTGraphHostingView& host, cairo_t* cr);
    // Paints the view into a surface whose pixels are `host.screenScale()` per point.
    static void renderHostToSurface(CPTGraphHostingView& host, cairo_surface_t* surface);
    // Writes the view at its current size; PNG uses `scale` pixels per point, SVG and PDF are
    // vector drawings of the view's size in points. Throws on an unknown extension or a write error.
    static void writeHostToFile(CPTGraphHostingView& host, const std::string& path, double scale);
    // Several views placed on one page of `width` x `height` points, written as above.
    struct PlacedHost {
        CPTGraphHostingView* host;
        double x;
        double y;
    };
    static void writeHostsToFile(const std::vector<PlacedHost>& hosts, const std::string& path, double width,
                                 double height, double scale);
    // The same for a graph that is not on screen, hosted for the occasion at `width` x `height` points.
    static void writeGraphToFile(const std::shared_ptr<CPTGraph>& graph, const std::string& path, double width,
                                 double height, double scale);
};

}  // namespace quorvel
