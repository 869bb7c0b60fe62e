// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "model/DeltaTrafficItem.hpp"

namespace quorvel {

// A part of the map to show: a centre and a span, in degrees.
struct MapRegion {
    double centerLatitude = 0.0;
    double centerLongitude = 0.0;
    double spanLatitude = 0.0;
    double spanLongitude = 0.0;

    static constexpr double kMinimumSpan = 0.01;

    // The smallest region holding every place (a place without a location counts at 0, 0), each
    // span at least kMinimumSpan; none without places.
    static std::optional<MapRegion> forDeltas(const std::vector<std::shared_ptr<DeltaTrafficItem>>& deltas);
    // The whole Web Mercator world.
    static MapRegion world();

    // What a Web Mercator map at that zoom shows within halfWidth and halfHeight pixels of its
    // centre, cut to the world's edges.
    static MapRegion around(double latitude, double longitude, double zoom, double tileSize, double halfWidth,
                            double halfHeight);

    // The point that lies dx, dy pixels (east, south) from latitude, longitude on a Web Mercator
    // map at that zoom, as {latitude, longitude}.
    static std::pair<double, double> offsetBy(double latitude, double longitude, double zoom, double tileSize, double dx,
                                              double dy);

    // The largest whole zoom level, between minZoom and maxZoom, at which both spans fit into
    // width × height pixels of a Web Mercator map of tileSize-pixel tiles. minZoom when there is
    // no room at all.
    static double zoomToFit(const MapRegion& region, double width, double height, double tileSize, double minZoom,
                            double maxZoom);
};

}  // namespace quorvel
