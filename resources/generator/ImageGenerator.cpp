// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every picture of the application into a directory and writes the resource manifest
// that bundles them with the reference page and the style sheet. Also draws the application
// icon for the desktop (SVG and a 256-pixel PNG). Run at build time, so the pictures are
// reproducible from this source.
//
//   quorvel-imagegen OUTPUT_DIR
#include <cairo-svg.h>
#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "ImageSpec.hpp"

namespace {

constexpr double kPixelsPerPoint = 2.0;
constexpr const char* kAppId = "org.quorvel.Quorvel";
constexpr int kAppIconPixels = 256;
// Icon-name copies go into a directory of the hicolor theme (30-point pictures, 2 pixels per
// point), where a resource path added to the icon theme finds them before any installed theme.
constexpr const char* kTabIconDir = "32x32@2/actions/";

struct SurfaceRelease {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextRelease {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;

// The file a name is bundled as: the name with ".png" appended unless it already ends so.
std::string fileName(const std::string& name)
{
    return name.ends_with(".png") ? name : name + ".png";
}

bool writeImage(const quorvel::art::ImageSpec& picture, const std::filesystem::path& dir)
{
    const int w = static_cast<int>(picture.width * kPixelsPerPoint + 0.5);
    const int h = static_cast<int>(picture.height * kPixelsPerPoint + 0.5);
    Surface surface{cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)};
    {
        Context cr{cairo_create(surface.get())};
        cairo_scale(cr.get(), kPixelsPerPoint, kPixelsPerPoint);
        picture.paint(cr.get(), picture.width, picture.height);
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
            return false;
        }
    }
    return cairo_surface_write_to_png(surface.get(), (dir / fileName(picture.name)).c_str()) == CAIRO_STATUS_SUCCESS;
}

bool writeAppIcons(const std::filesystem::path& dir)
{
    {
        const double points = 128;
        Surface svg{cairo_svg_surface_create((dir / (std::string(kAppId) + ".svg")).c_str(), points, points)};
        cairo_svg_surface_set_document_unit(svg.get(), CAIRO_SVG_UNIT_PX);
        Context cr{cairo_create(svg.get())};
        quorvel::art::paintAppIcon(cr.get(), points);
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
            return false;
        }
    }
    Surface png{cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kAppIconPixels, kAppIconPixels)};
    {
        Context cr{cairo_create(png.get())};
        quorvel::art::paintAppIcon(cr.get(), kAppIconPixels);
    }
    return cairo_surface_write_to_png(png.get(), (dir / (std::string(kAppId) + ".png")).c_str()) ==
           CAIRO_STATUS_SUCCESS;
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
    std::filesystem::create_directories(out / "appicon");
    if (!writeAppIcons(out / "appicon")) {
        std::fprintf(stderr, "quorvel-imagegen: cannot write the application icon\n");
        return 1;
    }
    std::ofstream manifest(out / "quorvel.gresource.xml");
    manifest << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gresources>\n"
             << "  <gresource prefix=\"/org/quorvel/Quorvel\">\n"
             << "    <file>t.html</file>\n    <file>style.css</file>\n    <file>style-dark.css</file>\n"
             << "    <file>style-hc.css</file>\n    <file>style-hc-dark.css</file>\n"
             << "    <file alias=\"icons/256x256/apps/" << kAppId << ".png\">appicon/" << kAppId
             << ".png</file>\n";
    std::set<std::string> seen;
    for (const auto& picture : quorvel::art::allImages()) {
        const std::string file = fileName(picture.name);
        if (!seen.insert(file).second) {
            std::fprintf(stderr, "quorvel-imagegen: %s is drawn twice\n", file.c_str());
            return 1;
        }
        if (!writeImage(picture, out / "images")) {
            std::fprintf(stderr, "quorvel-imagegen: cannot write %s\n", file.c_str());
            return 1;
        }
        manifest << "    <file>images/" << file << "</file>\n";
        if (!picture.iconName.empty()) {
            manifest << "    <file alias=\"icons/" << kTabIconDir << picture.iconName << ".png\">images/" << file
                     << "</file>\n";
        }
    }
    manifest << "  </gresource>\n</gresources>\n";
    return manifest ? 0 : 1;
}
