// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/gtk/ImageStore.hpp"

#include <QuorvelResources.h>

#include <map>
#include <optional>

#include <giomm/resource.h>

namespace quorvel {

namespace {

constexpr double kPixelsPerPoint = 2.0;

std::optional<ImageStore::Image> load(const std::string& path)
{
    Glib::RefPtr<const Glib::Bytes> bytes;
    try {
        bytes = Gio::Resource::lookup_data_global(path);
    } catch (const Glib::Error&) {
        return std::nullopt;
    }
    gsize size = 0;
    const auto* data = static_cast<const unsigned char*>(bytes->get_data(size));
    gsize offset = 0;
    auto surface = Cairo::ImageSurface::create_from_png_stream([&](unsigned char* out, unsigned int length) {
        if (offset + length > size) {
            return CAIRO_STATUS_READ_ERROR;
        }
        std::copy(data + offset, data + offset + length, out);
        offset += length;
        return CAIRO_STATUS_SUCCESS;
    });
    if (surface->get_status() != CAIRO_STATUS_SUCCESS) {
        return std::nullopt;
    }
    cairo_surface_set_device_scale(surface->cobj(), kPixelsPerPoint, kPixelsPerPoint);
    ImageStore::Image image;
    image.surface = surface;
    image.texture = Gdk::Texture::create_from_resource(path);
    image.width = surface->get_width() / kPixelsPerPoint;
    image.height = surface->get_height() / kPixelsPerPoint;
    return image;
}

}  // namespace

void ImageStore::registerResources()
{
    static const bool registered = [] {
        quorvel_resources_register_resource();
        return true;
    }();
    (void)registered;
}

const ImageStore::Image* ImageStore::image(const std::string& name)
{
    static std::map<std::string, std::optional<Image>> cache;
    const std::string file = name.ends_with(".png") ? name : name + ".png";
    auto it = cache.find(file);
    if (it == cache.end()) {
        registerResources();
        std::optional<Image> loaded;
        try {
            loaded = load(kPrefix + file);
        } catch (const std::exception&) {
            loaded.reset();  // a damaged picture draws as a missing one
        }
        it = cache.emplace(file, std::move(loaded)).first;
    }
    return it->second ? &*it->second : nullptr;
}

}  // namespace quorvel
