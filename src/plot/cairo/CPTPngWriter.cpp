// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/cairo/CPTPngWriter.hpp"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/Assert.hpp"

namespace quorvel {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The image as rows of the PNG's own pixel layout.
struct Rows {
    int width = 0;
    int height = 0;
    bool opaque = true;
    std::vector<unsigned char> bytes;
    std::vector<png_bytep> pointers;
};

bool allOpaque(const unsigned char* data, int width, int height, int stride)
{
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            if ((row[x] >> 24) != 0xFF) {
                return false;
            }
        }
    }
    return true;
}

unsigned char unpremultiply(std::uint32_t channel, std::uint32_t alpha)
{
    return static_cast<unsigned char>((channel * 255 + alpha / 2) / alpha);
}

Rows rowsOf(cairo_surface_t* surface)
{
    Rows r;
    r.width = cairo_image_surface_get_width(surface);
    r.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    r.opaque = allOpaque(data, r.width, r.height, stride);
    const std::size_t channels = r.opaque ? 3 : 4;
    const std::size_t rowBytes = channels * static_cast<std::size_t>(r.width);
    r.bytes.resize(rowBytes * static_cast<std::size_t>(r.height));
    for (int y = 0; y < r.height; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        unsigned char* out = r.bytes.data() + rowBytes * static_cast<std::size_t>(y);
        r.pointers.push_back(out);
        for (int x = 0; x < r.width; ++x, out += channels) {
            const std::uint32_t p = in[x];
            const std::uint32_t a = p >> 24;
            if (a == 0) {
                std::memset(out, 0, channels);
                continue;
            }
            if (a == 0xFF) {  // most of a chart: the channels as they are, no division
                out[0] = static_cast<unsigned char>(p >> 16);
                out[1] = static_cast<unsigned char>(p >> 8);
                out[2] = static_cast<unsigned char>(p);
                if (!r.opaque) {
                    out[3] = 0xFF;
                }
                continue;
            }
            out[0] = unpremultiply((p >> 16) & 0xFF, a);
            out[1] = unpremultiply((p >> 8) & 0xFF, a);
            out[2] = unpremultiply(p & 0xFF, a);
            if (!r.opaque) {
                out[3] = static_cast<unsigned char>(a);
            }
        }
    }
    return r;
}

void onPngError(png_structp png, png_const_charp message)
{
    auto* why = static_cast<std::string*>(png_get_error_ptr(png));
    *why = message;
    png_longjmp(png, 1);
}

// libpng's warnings are about ancillary chunks we never write; its errors still fail the write.
void onPngWarning(png_structp, png_const_charp) {}

// Only libpng's own frames lie between setjmp and a longjmp back to it: nothing of ours is skipped.
bool writeRows(std::FILE* file, Rows& rows, std::string& why)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &why, onPngError, onPngWarning);
    if (png == nullptr) {
        why = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    // Charts are flat areas, lines and text: unfiltered rows at zlib's fastest level come out
    // smaller than Cairo's default (adaptive filters, level 6) at a fifth of its time, while
    // run-length matching or the row-above filter make larger files.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rows.width), static_cast<png_uint_32>(rows.height), 8,
                 rows.opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_write_image(png, rows.pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void CPTPngWriter::write(cairo_surface_t* surface, const std::string& path)
{
    QV_REQUIRE(cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
                   cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32,
               "CPTPngWriter writes ARGB32 image surfaces only");
    cairo_surface_flush(surface);
    Rows rows = rowsOf(surface);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        throw std::runtime_error("Cannot write " + path + ": " + std::strerror(errno));
    }
    std::string why;
    if (!writeRows(file.get(), rows, why)) {
        throw std::runtime_error("Cannot write " + path + ": " + why);
    }
    if (std::fclose(file.release()) != 0) {
        throw std::runtime_error("Cannot write " + path + ": " + std::strerror(errno));
    }
}

}  // namespace quorvel
