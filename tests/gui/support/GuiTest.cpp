// SPDX-License-Identifier: GPL-3.0-or-later
#include "GuiTest.hpp"

#include <gtk/gtk.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <gdkmm/frameclock.h>
#include <gtkmm/label.h>

namespace quorvel::guitest {

bool runUntilSlidIn(Gtk::Widget& page, Gtk::Widget& frame)
{
    return runUntil([&] {
        graphene_point_t origin = GRAPHENE_POINT_INIT(0, 0);
        graphene_point_t at;
        return page.get_width() == frame.get_width() &&
               gtk_widget_compute_point(page.gobj(), frame.gobj(), &origin, &at) && at.x == 0.0f;
    });
}

bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done() && std::chrono::steady_clock::now() < end) {
        g_main_context_iteration(nullptr, FALSE);
        if (!g_main_context_pending(nullptr)) {
            g_usleep(1000);
        }
    }
    return done();
}

void settle(int iterations)
{
    for (int i = 0; i < iterations; ++i) {
        while (g_main_context_pending(nullptr)) {
            g_main_context_iteration(nullptr, FALSE);
        }
        g_usleep(2000);
    }
}

void waitFrames(Gtk::Widget& widget, int frames)
{
    runUntil([&] { return widget.get_mapped(); });
    auto clock = widget.get_frame_clock();
    if (!clock) {
        settle(10);
        return;
    }
    const auto until = clock->get_frame_counter() + frames;
    runUntil([&] {
        if (clock->get_frame_counter() >= until) {
            return true;
        }
        clock->request_phase(Gdk::FrameClock::Phase::LAYOUT);
        return false;
    });
}

Cairo::RefPtr<Cairo::ImageSurface> picture(Gtk::Widget& widget, double scale)
{
    const int w = widget.get_width();
    const int h = widget.get_height();
    auto image = Cairo::ImageSurface::create(Cairo::Surface::Format::ARGB32, static_cast<int>(w * scale),
                                             static_cast<int>(h * scale));
    GdkPaintable* paintable = gtk_widget_paintable_new(widget.gobj());
    GskRenderNode* node = nullptr;
    // A widget whose new size is queued but not yet allocated draws nothing at all (not even its
    // background): such a moment is waited out, a frame at a time; a screen that stays blank
    // still comes out blank.
    for (int attempt = 0; attempt < 20 && node == nullptr; ++attempt) {
        if (attempt > 0) {
            waitFrames(widget, 1);
        }
        GtkSnapshot* snapshot = gtk_snapshot_new();
        gdk_paintable_snapshot(paintable, snapshot, w, h);
        node = gtk_snapshot_free_to_node(snapshot);
    }
    if (node != nullptr) {
        cairo_t* cr = cairo_create(image->cobj());
        cairo_scale(cr, scale, scale);
        gsk_render_node_draw(node, cr);
        cairo_destroy(cr);
        gsk_render_node_unref(node);
    }
    g_object_unref(paintable);
    image->flush();
    return image;
}

Rgb pixel(const Cairo::RefPtr<Cairo::ImageSurface>& image, double x, double y, double scale)
{
    const int px = static_cast<int>(x * scale);
    const int py = static_cast<int>(y * scale);
    const unsigned char* row = image->get_data() + py * image->get_stride();
    std::uint32_t v = 0;
    std::memcpy(&v, row + 4 * px, sizeof v);
    return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
}

namespace {
void collect(GtkWidget* w, std::vector<std::string>& out)
{
    if (GTK_IS_LABEL(w)) {
        out.emplace_back(gtk_label_get_text(GTK_LABEL(w)));
    }
    for (GtkWidget* c = gtk_widget_get_first_child(w); c != nullptr; c = gtk_widget_get_next_sibling(c)) {
        collect(c, out);
    }
}
}  // namespace

std::vector<std::string> labelTexts(Gtk::Widget& root)
{
    std::vector<std::string> out;
    collect(root.gobj(), out);
    return out;
}

void keepScreenshot(const Cairo::RefPtr<Cairo::ImageSurface>& image, const std::string& name)
{
    if (const char* dir = std::getenv("QUORVEL_SCREENSHOTS"); dir != nullptr && *dir != '\0') {
        std::filesystem::create_directories(dir);
        image->write_to_png((std::filesystem::path(dir) / (name + ".png")).string());
    }
}

}  // namespace quorvel::guitest
