// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/MapRegion.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace quorvel {

namespace {

// Beyond this latitude Web Mercator has no map: the world is a square.
constexpr double kMercatorLimit = 85.05112878;

// Distance from the top of the world, 0 at the north edge and 1 at the south edge.
double mercatorY(double latitude)
{
    const double phi = std::clamp(latitude, -kMercatorLimit, kMercatorLimit) * std::numbers::pi / 180.0;
    return (1.0 - std::asinh(std::tan(phi)) / std::numbers::pi) / 2.0;
}

double latitudeAtMercatorY(double y)
{
    return std::atan(std::sinh(std::numbers::pi * (1.0 - 2.0 * std::clamp(y, 0.0, 1.0)))) * 180.0 / std::numbers::pi;
}

// log2 of how many worlds of one pixel per tile fit: the zoom at which a fraction of the world fits.
double zoomForFraction(double pixels, double fraction, double tileSize)
{
    if (fraction <= 0.0) {
        return std::numeric_limits<double>::infinity();
    }
    return std::log2(pixels / (fraction * tileSize));
}

}  // namespace

std::optional<MapRegion> MapRegion::forDeltas(const std::vector<std::shared_ptr<DeltaTrafficItem>>& deltas)
{
    bool any = false;
    double minLat = 0, maxLat = 0, minLon = 0, maxLon = 0;
    for (const auto& delta : deltas) {
        if (!delta) {
            continue;
        }
        const double lat = delta->pLocation ? delta->pLocation->latitude : 0.0;
        const double lon = delta->pLocation ? delta->pLocation->longitude : 0.0;
        minLat = any ? std::min(minLat, lat) : lat;
        maxLat = any ? std::max(maxLat, lat) : lat;
        minLon = any ? std::min(minLon, lon) : lon;
        maxLon = any ? std::max(maxLon, lon) : lon;
        any = true;
    }
    if (!any) {
        return std::nullopt;
    }
    return MapRegion{(minLat + maxLat) / 2.0, (minLon + maxLon) / 2.0, std::max(maxLat - minLat, kMinimumSpan),
                     std::max(maxLon - minLon, kMinimumSpan)};
}

MapRegion MapRegion::world()
{
    return {0.0, 0.0, 2 * kMercatorLimit, 360.0};
}

MapRegion MapRegion::around(double latitude, double longitude, double zoom, double tileSize, double halfWidth,
                            double halfHeight)
{
    const double world = tileSize * std::exp2(zoom);
    const double x = (longitude + 180.0) / 360.0 * world;
    const double y = mercatorY(latitude) * world;
    const auto lonAt = [&](double px) { return std::clamp(px / world * 360.0 - 180.0, -180.0, 180.0); };
    const double west = lonAt(x - halfWidth);
    const double east = lonAt(x + halfWidth);
    const double north = latitudeAtMercatorY((y - halfHeight) / world);
    const double south = latitudeAtMercatorY((y + halfHeight) / world);
    return {(north + south) / 2.0, (west + east) / 2.0, north - south, east - west};
}

std::pair<double, double> MapRegion::offsetBy(double latitude, double longitude, double zoom, double tileSize,
                                              double dx, double dy)
{
    const double world = tileSize * std::exp2(zoom);
    const double x = (longitude + 180.0) / 360.0 * world + dx;
    const double y = mercatorY(latitude) * world + dy;
    return {latitudeAtMercatorY(y / world), std::clamp(x / world * 360.0 - 180.0, -180.0, 180.0)};
}

double MapRegion::zoomToFit(const MapRegion& region, double width, double height, double tileSize, double minZoom,
                            double maxZoom)
{
    if (!(width > 0.0) || !(height > 0.0) || !(tileSize > 0.0)) {
        return minZoom;
    }
    const double fractionX = std::min(std::abs(region.spanLongitude), 360.0) / 360.0;
    const double halfLat = std::abs(region.spanLatitude) / 2.0;
    const double fractionY =
        std::abs(mercatorY(region.centerLatitude - halfLat) - mercatorY(region.centerLatitude + halfLat));
    const double fit = std::min(zoomForFraction(width, fractionX, tileSize), zoomForFraction(height, fractionY, tileSize));
    if (!std::isfinite(fit)) {
        return fit > 0 ? maxZoom : minZoom;
    }
    // Whole levels draw tiles pixel for pixel; the tolerance keeps an exact fit from rounding down.
    return std::clamp(std::floor(fit + 1e-9), minZoom, maxZoom);
}

}  // namespace quorvel
