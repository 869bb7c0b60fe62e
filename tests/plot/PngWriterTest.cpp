// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's PNG writer: what Cairo reads back is the very image drawn, transparent and half
// transparent pixels included; opaque images are written without an alpha channel; a file that
// cannot be written is an error naming it.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "TestEnv.hpp"

#include "plot/cairo/CPTCairoHandles.hpp"
#include "plot/cairo/CPTPngWriter.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::CairoHandle;
using quorvel::CairoSurfaceHandle;
using quorvel::CPTPngWriter;

CairoSurfaceHandle drawn(bool opaque)
{
    CairoSurfaceHandle s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 37, 21));  // odd sizes: strides
    CairoHandle cr(cairo_create(s.get()));
    if (opaque) {
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
    }
    cairo_set_source_rgba(cr.get(), 0.9, 0.3, 0.1, 0.35);
    cairo_rectangle(cr.get(), 3, 2, 20, 15);
    cairo_fill(cr.get());
    cairo_set_source_rgb(cr.get(), 0.1, 0.4, 0.8);
    cairo_set_line_width(cr.get(), 1.3);  // anti-aliased edges: every level of alpha
    cairo_arc(cr.get(), 25, 10, 8, 0, 6.28);
    cairo_stroke(cr.get());
    cairo_surface_flush(s.get());
    return s;
}

// Byte 25 of a PNG file is the colour type of its header: 2 RGB, 6 RGBA.
int colourType(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    char header[26] = {};
    in.read(header, sizeof header);
    return static_cast<unsigned char>(header[25]);
}

void expectSamePixels(cairo_surface_t* a, cairo_surface_t* b)
{
    ASSERT_EQ(cairo_surface_status(b), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(a), cairo_image_surface_get_width(b));
    ASSERT_EQ(cairo_image_surface_get_height(a), cairo_image_surface_get_height(b));
    const int rowBytes = 4 * cairo_image_surface_get_width(a);
    for (int y = 0; y < cairo_image_surface_get_height(a); ++y) {
        const unsigned char* ra = cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a);
        const unsigned char* rb = cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b);
        ASSERT_EQ(std::memcmp(ra, rb, rowBytes), 0) << "row " << y;
    }
}

TEST(PngWriter, CairoReadsBackTheImageDrawn)
{
    const quorvel::test::TempDir dir;
    for (const bool opaque : {false, true}) {
        SCOPED_TRACE(opaque ? "opaque" : "with transparency");
        const CairoSurfaceHandle image = drawn(opaque);
        const fs::path file = dir.path() / (opaque ? "opaque.png" : "clear.png");
        CPTPngWriter::write(image.get(), file.string());
        EXPECT_EQ(colourType(file), opaque ? 2 : 6);
        const CairoSurfaceHandle read(cairo_image_surface_create_from_png(file.c_str()));
        // Cairo reads an RGB file as RGB24: compare as the ARGB32 image it came from.
        CairoSurfaceHandle again(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 37, 21));
        CairoHandle cr(cairo_create(again.get()));
        cairo_set_source_surface(cr.get(), read.get(), 0, 0);
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr.get());
        cairo_surface_flush(again.get());
        expectSamePixels(image.get(), again.get());
    }
}

TEST(PngWriter, AFileThatCannotBeWrittenIsAnErrorNamingIt)
{
    const quorvel::test::TempDir dir;
    const CairoSurfaceHandle image = drawn(true);
    const std::string path = (dir.path() / "missing" / "chart.png").string();
    try {
        CPTPngWriter::write(image.get(), path);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
