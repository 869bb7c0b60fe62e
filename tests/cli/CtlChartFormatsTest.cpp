// SPDX-License-Identifier: GPL-3.0-or-later
// quorvelctl chart writes the same page as PNG, SVG and PDF: the vector files, rasterised by
// librsvg and poppler as a reader would see them, show both graphs in their colours.
#include <gtest/gtest.h>

#include <cairo.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CtlProcess.hpp"
#include "TestEnv.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::clitest::runCtl;
using quorvel::clitest::runProcess;

struct Rgb {
    int r, g, b;
};

struct Probe {
    const char* name;
    std::function<bool(const Rgb&)> matches;
};

bool near(const Rgb& p, int r, int g, int b, int tolerance = 12)
{
    return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance && std::abs(p.b - b) <= tolerance;
}

// Pixels that match each probe in the upper (cumulative) and lower (daily) half of a PNG file.
struct Census {
    std::vector<std::array<long, 2>> counts;
    bool loaded = false;
};

Census census(const fs::path& png, const std::vector<Probe>& probes)
{
    Census c;
    c.counts.assign(probes.size(), {0, 0});
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        c.loaded = true;
        cairo_surface_t* rgb = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cairo_image_surface_get_width(s),
                                                          cairo_image_surface_get_height(s));
        cairo_t* cr = cairo_create(rgb);
        cairo_set_source_rgb(cr, 1, 1, 1);  // whatever is transparent reads as white paper
        cairo_paint(cr);
        cairo_set_source_surface(cr, s, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(rgb);
        const int w = cairo_image_surface_get_width(rgb);
        const int h = cairo_image_surface_get_height(rgb);
        const unsigned char* data = cairo_image_surface_get_data(rgb);
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(rgb));
            for (int x = 0; x < w; ++x) {
                const Rgb p{static_cast<int>((row[x] >> 16) & 0xFF), static_cast<int>((row[x] >> 8) & 0xFF),
                            static_cast<int>(row[x] & 0xFF)};
                for (std::size_t i = 0; i < probes.size(); ++i) {
                    c.counts[i][y < h / 2 ? 0 : 1] += probes[i].matches(p) ? 1 : 0;
                }
            }
        }
        cairo_surface_destroy(rgb);
    }
    cairo_surface_destroy(s);
    return c;
}

struct ChartFormats : ::testing::Test {
    quorvel::test::TempDir home;
    std::string out, err;

    int ctl(const std::vector<std::string>& args) { return runCtl(home.path(), args, out, err); }
};

TEST_F(ChartFormats, VectorPagesShowBothGraphsAsThePngDoes)
{
    ASSERT_EQ(runProcess({QUORVEL_DEMO_STATE}, quorvel::clitest::ctlEnvironment(home.path()), out, err), 0) << err;
    const std::vector<Probe> probes = {
        {"plot area", [](const Rgb& p) { return near(p, 36, 38, 51, 4); }},
        {"cumulative area", [](const Rgb& p) { return near(p, 47, 53, 54, 4); }},
        {"cumulative dots", [](const Rgb& p) { return near(p, 136, 195, 39, 20); }},
        {"daily bars", [](const Rgb& p) { return p.r > 190 && p.g > 150 && p.b < 110; }},
    };
    // Where each colour must be: the line graph above, the bars below, the plot areas in both.
    const bool expected[][2] = {{true, true}, {true, false}, {true, false}, {false, true}};
    for (const char* idiom : {"phone", "tablet"}) {
        const fs::path png = home.path() / (std::string(idiom) + ".png");
        const fs::path svg = home.path() / (std::string(idiom) + ".svg");
        const fs::path pdf = home.path() / (std::string(idiom) + ".pdf");
        for (const fs::path& file : {png, svg, pdf}) {
            ASSERT_EQ(ctl({"chart", "--idiom", idiom, "--scale", "1", "--output", file.string()}), 0) << err;
        }
        const fs::path fromSvg = home.path() / (std::string(idiom) + "-svg.png");
        ASSERT_EQ(runProcess({"rsvg-convert", "--format", "png", "--output", fromSvg.string(), svg.string()}, {}, out,
                             err),
                  0)
            << err;
        ASSERT_EQ(runProcess({"pdftoppm", "-png", "-r", "72", "-singlefile", pdf.string(),
                              (home.path() / (std::string(idiom) + "-pdf")).string()},
                             {}, out, err),
                  0)
            << err;
        const Census reference = census(png, probes);
        ASSERT_TRUE(reference.loaded);
        for (const fs::path& raster : {fromSvg, home.path() / (std::string(idiom) + "-pdf.png")}) {
            const Census seen = census(raster, probes);
            ASSERT_TRUE(seen.loaded) << raster;
            for (std::size_t i = 0; i < probes.size(); ++i) {
                for (int half = 0; half < 2; ++half) {
                    const char* where = half == 0 ? "upper half" : "lower half";
                    const long want = reference.counts[i][half];
                    const long got = seen.counts[i][half];
                    if (expected[i][half]) {
                        EXPECT_GT(want, 50) << idiom << " PNG: " << probes[i].name << " in the " << where;
                        EXPECT_GT(got, want / 2) << raster.filename() << ": " << probes[i].name << " in the " << where
                                                 << " (PNG has " << want << ")";
                    } else {
                        EXPECT_LT(got, 20) << raster.filename() << ": " << probes[i].name << " in the " << where;
                    }
                }
            }
        }
    }
}

}  // namespace
