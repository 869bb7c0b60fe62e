// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include <cairomm/surface.h>
#include <gdkmm/texture.h>

namespace quorvel {

// The application's pictures by name, loaded from the resource bundle on first use and kept
// for the life of the process. Pictures hold two pixels per point; sizes here are in points.
class ImageStore {
public:
    struct Image {
        Cairo::RefPtr<Cairo::ImageSurface> surface;  // device scale 2: paint it in points
        Glib::RefPtr<Gdk::Texture> texture;
        double width = 0;
        double height = 0;
    };

    // The picture of that name ("arrow_up.png" or "arrow_up"); null when there is none.
    static const Image* image(const std::string& name);
    // Registers the bundle; the shell calls it once before any screen loads a picture.
    static void registerResources();
    static constexpr const char* kPrefix = "/org/quorvel/Quorvel/images/";
};

}  // namespace quorvel
