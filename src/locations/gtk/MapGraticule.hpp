// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtkmm/drawingarea.h>
#include <shumate/shumate.h>

#include "platform/glib/GObjectHandle.hpp"

namespace quorvel {

// What lies under the map's tiles: a dark ground with faint lines of latitude and longitude
// that move with the map, so that without tiles (offline, or while they load) the places still
// stand on something that reads as a map.
class MapGraticule final : public Gtk::DrawingArea {
public:
    // Follows the viewport; the widget must be laid out exactly over the map.
    explicit MapGraticule(ShumateViewport* viewport);
    ~MapGraticule() override;
    MapGraticule(const MapGraticule&) = delete;
    MapGraticule& operator=(const MapGraticule&) = delete;

    // The finest round step in degrees whose lines stand at least minSpacing pixels apart.
    static double stepForDegreesPerPixel(double degreesPerPixel, double minSpacing = kMinSpacing);
    static constexpr double kMinSpacing = 96.0;

private:
    void draw(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height);
    void line(const Cairo::RefPtr<Cairo::Context>& cr, double lat1, double lon1, double lat2, double lon2);

    GObjectHandle<ShumateViewport> viewport_;
    gulong notifyHandler_ = 0;
};

}  // namespace quorvel
