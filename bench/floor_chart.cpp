// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of `quorvelctl chart --size 250x229 --scale 2`: a bare program that lays out a little
// Pango text over a few bars and writes a 500 x 458 PNG, through Cairo's own writer (--cairo) or
// through libpng at the fast setting the chart writer uses (--libpng, the default).
#include <cairo.h>
#include <pango/pangocairo.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void text(cairo_t* cr, PangoLayout* layout, const char* s, double x, double y)
{
    pango_layout_set_text(layout, s, -1);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
}

void draw(cairo_t* cr)
{
    cairo_scale(cr, 2.0, 2.0);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.2, 0.5, 0.9);
    for (int i = 0; i < 30; ++i) {
        cairo_rectangle(cr, 30 + i * 7, 200 - (i * 37 % 150), 5, i * 37 % 150);
    }
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, 28, 20);
    cairo_line_to(cr, 28, 200);
    cairo_line_to(cr, 245, 200);
    cairo_stroke(cr);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("Sans 8");
    pango_layout_set_font_description(layout, font);
    text(cr, layout, "Daily usage", 90, 2);
    const char* labels[] = {"0", "50 MB", "100 MB", "150 MB", "1", "8", "15", "22", "29"};
    for (int i = 0; i < 4; ++i) {
        text(cr, layout, labels[i], 0, 195 - i * 50);
    }
    for (int i = 4; i < 9; ++i) {
        text(cr, layout, labels[i], 30 + (i - 4) * 49, 205);
    }
    pango_font_description_free(font);
    g_object_unref(layout);
}

// Only libpng's frames lie between setjmp and a longjmp back to it, and no object of ours lives
// across it: the rows are the caller's.
bool writeRows(std::FILE* file, png_bytep* rows, int w, int h)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writeWithLibpng(cairo_surface_t* surface, const char* path)
{
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(w) * h * 3);
    std::vector<png_bytep> rows(h);
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        unsigned char* out = rows[y] = bytes.data() + static_cast<std::size_t>(y) * w * 3;
        for (int x = 0; x < w; ++x) {  // opaque: no un-premultiplying
            out[3 * x] = (in[x] >> 16) & 0xFF;
            out[3 * x + 1] = (in[x] >> 8) & 0xFF;
            out[3 * x + 2] = in[x] & 0xFF;
        }
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = writeRows(file, rows.data(), w, h);
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool viaCairo = argc > 1 && std::strcmp(argv[1], "--cairo") == 0;
    const char* path = argc > 2 ? argv[2] : "floor_chart.png";
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 500, 458);
    cairo_t* cr = cairo_create(surface);
    draw(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const bool ok = viaCairo ? cairo_surface_write_to_png(surface, path) == CAIRO_STATUS_SUCCESS
                             : writeWithLibpng(surface, path);
    cairo_surface_destroy(surface);
    if (!ok) {
        std::fprintf(stderr, "floor_chart: cannot write %s\n", path);
        return 1;
    }
    return 0;
}
