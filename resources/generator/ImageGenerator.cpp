// Draws every picture of the application into a directory and writes the resource manifest
// that bundles them with the reference page and the style sheet. Run at build time, so the
// pictures are reproducible from this source.
//
//   quorvel-imagegen OUTPUT_DIR
#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "ImageSpec.hpp"

namespace {

constexpr double kPixelsPerPoint = 2.0;

bool writeImage(const quorvel::art::ImageSpec& spec, const std::filesystem::path& dir)
{
    const int w = static_cast<int>(spec.width * kPixelsPerPoint + 0.5);
    const int h = static_cast<int>(spec.height * kPixelsPerPoint + 0.5);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, kPixelsPerPoint, kPixelsPerPoint);
    spec.paint(cr, spec.width, spec.height);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, (dir / spec.name).c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvel-imagegen OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "images");
    std::ofstream manifest(out / "quorvel.gresource.xml");
    manifest << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gresources>\n"
             << "  <gresource prefix=\"/org/quorvel/Quorvel\">\n"
             << "    <file>t.html</file>\n    <file>style.css</file>\n";
    std::set<std::string> seen;
    for (const auto& spec : quorvel::art::allImages()) {
        if (!seen.insert(spec.name).second) {
            std::fprintf(stderr, "quorvel-imagegen: %s is drawn twice\n", spec.name.c_str());
            return 1;
        }
        if (!writeImage(spec, out / "images")) {
            std::fprintf(stderr, "quorvel-imagegen: cannot write %s\n", spec.name.c_str());
            return 1;
        }
        manifest << "    <file>images/" << spec.name << "</file>\n";
    }
    manifest << "  </gresource>\n</gresources>\n";
    return manifest ? 0 : 1;
}
