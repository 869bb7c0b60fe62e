// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cairo.h>

#include <string>

namespace quorvel {

// Writes an image surface as a PNG file through libpng at a fast compression setting: Cairo's
// own writer compresses at zlib's default level, which costs more than drawing the chart.
// Opaque images are written as RGB, others as RGBA; either way the colours are Cairo's own,
// un-premultiplied as Cairo does. Throws std::runtime_error with the reason when the file cannot
// be written.
class CPTPngWriter {
public:
    static void write(cairo_surface_t* imageSurface, const std::string& path);
};

}  // namespace quorvel
