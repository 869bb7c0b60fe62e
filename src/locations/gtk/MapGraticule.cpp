#include "locations/gtk/MapGraticule.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvel {

namespace {

constexpr double kMaxLatitude = 85.05112878;
constexpr std::array<double, 18> kSteps = {0.0005, 0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2,
                                           0.5,    1.0,   2.0,   5.0,   10.0, 15.0, 30.0, 45.0, 90.0};
constexpr int kMaxLines = 200;

struct Bounds {
    double minLat, maxLat, minLon, maxLon;
};

// The degrees under the widget's corners (the map may be rotated, so all four count).
Bounds visibleBounds(ShumateViewport* viewport, GtkWidget* widget, int width, int height)
{
    Bounds b{90, -90, 180, -180};
    for (const auto& [x, y] : {std::pair{0, 0}, {width, 0}, {0, height}, {width, height}}) {
        double lat = 0, lon = 0;
        shumate_viewport_widget_coords_to_location(viewport, widget, x, y, &lat, &lon);
        b = {std::min(b.minLat, lat), std::max(b.maxLat, lat), std::min(b.minLon, lon), std::max(b.maxLon, lon)};
    }
    b.minLat = std::max(b.minLat, -kMaxLatitude);
    b.maxLat = std::min(b.maxLat, kMaxLatitude);
    return b;
}

}  // namespace

MapGraticule::MapGraticule(ShumateViewport* viewport)
    : viewport_(SHUMATE_VIEWPORT(g_object_ref(viewport)))
{
    set_draw_func(sigc::mem_fun(*this, &MapGraticule::draw));
    set_can_target(false);
    notifyHandler_ = g_signal_connect_swapped(viewport_.get(), "notify", G_CALLBACK(gtk_widget_queue_draw), gobj());
}

MapGraticule::~MapGraticule()
{
    g_signal_handler_disconnect(viewport_.get(), notifyHandler_);
}

double MapGraticule::stepForDegreesPerPixel(double degreesPerPixel, double minSpacing)
{
    for (const double step : kSteps) {
        if (step >= degreesPerPixel * minSpacing) {
            return step;
        }
    }
    return kSteps.back();
}

void MapGraticule::draw(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height)
{
    cr->set_source_rgb(0x1b / 255.0, 0x20 / 255.0, 0x26 / 255.0);
    cr->paint();
    ShumateMapSource* source = shumate_viewport_get_reference_map_source(viewport_.get());
    const double tile = source ? shumate_map_source_get_tile_size(source) : 256.0;
    const double worldPixels = tile * std::exp2(shumate_viewport_get_zoom_level(viewport_.get()));
    const double step = stepForDegreesPerPixel(360.0 / worldPixels);
    const Bounds b = visibleBounds(viewport_.get(), GTK_WIDGET(gobj()), width, height);

    cr->set_source_rgba(1, 1, 1, 0.07);
    cr->set_line_width(1.0);
    int lines = 0;
    for (double lon = std::floor(b.minLon / step) * step; lon <= b.maxLon && lines < kMaxLines; lon += step, ++lines) {
        line(cr, b.minLat, lon, b.maxLat, lon);
    }
    for (double lat = std::floor(b.minLat / step) * step; lat <= b.maxLat && lines < kMaxLines; lat += step, ++lines) {
        line(cr, lat, b.minLon, lat, b.maxLon);
    }
    cr->stroke();
}

void MapGraticule::line(const Cairo::RefPtr<Cairo::Context>& cr, double lat1, double lon1, double lat2, double lon2)
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    shumate_viewport_location_to_widget_coords(viewport_.get(), GTK_WIDGET(gobj()), lat1, lon1, &x1, &y1);
    shumate_viewport_location_to_widget_coords(viewport_.get(), GTK_WIDGET(gobj()), lat2, lon2, &x2, &y2);
    // Half-pixel positions keep one-pixel lines sharp.
    cr->move_to(std::round(x1) + 0.5, std::round(y1) + 0.5);
    cr->line_to(std::round(x2) + 0.5, std::round(y2) + 0.5);
}

}  // namespace quorvel
