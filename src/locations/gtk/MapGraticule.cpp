// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/gtk/MapGraticule.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "locations/MapRegion.hpp"

namespace quorvel {

namespace {

constexpr std::array<double, 18> kSteps = {0.0005, 0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2,
                                           0.5,    1.0,   2.0,   5.0,   10.0, 15.0, 30.0, 45.0, 90.0};
constexpr int kMaxLines = 200;

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
    const double zoom = shumate_viewport_get_zoom_level(viewport_.get());
    const double step = stepForDegreesPerPixel(360.0 / (tile * std::exp2(zoom)));
    // Half the diagonal each way covers the view however the map is turned.
    const double reach = std::hypot(width, height) / 2.0;
    const MapRegion seen = MapRegion::around(shumate_location_get_latitude(SHUMATE_LOCATION(viewport_.get())),
                                             shumate_location_get_longitude(SHUMATE_LOCATION(viewport_.get())), zoom,
                                             tile, reach, reach);
    const double south = seen.centerLatitude - seen.spanLatitude / 2;
    const double north = seen.centerLatitude + seen.spanLatitude / 2;
    const double west = seen.centerLongitude - seen.spanLongitude / 2;
    const double east = seen.centerLongitude + seen.spanLongitude / 2;

    cr->set_source_rgba(1, 1, 1, 0.07);
    cr->set_line_width(1.0);
    int lines = 0;
    for (double lon = std::ceil(west / step) * step; lon <= east && lines < kMaxLines; lon += step, ++lines) {
        line(cr, south, lon, north, lon);
    }
    for (double lat = std::ceil(south / step) * step; lat <= north && lines < kMaxLines; lat += step, ++lines) {
        line(cr, lat, west, lat, east);
    }
    // The world's top and bottom edges, where the map ends when zoomed far out.
    const double edge = MapRegion::world().spanLatitude / 2;
    line(cr, edge, west, edge, east);
    line(cr, -edge, west, -edge, east);
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
