// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace quorvel {

// A point on the map in degrees.
struct MapCoordinate {
    double latitude = 0.0;
    double longitude = 0.0;

    friend bool operator==(const MapCoordinate&, const MapCoordinate&) = default;
};

// What every marker of the map carries: where it stands and the texts of its callout.
class RegionAnnotation {
public:
    RegionAnnotation(MapCoordinate coordinate, std::string title);  // initWithLocation:sTitle:
    virtual ~RegionAnnotation() = default;
    RegionAnnotation(const RegionAnnotation&) = delete;
    RegionAnnotation& operator=(const RegionAnnotation&) = delete;

    const MapCoordinate& coordinate() const { return coordinate_; }
    const std::string& title() const { return title_; }
    // The second line of the callout: the coordinate unless a marker knows better.
    virtual std::string subtitle() const { return coordinateText(coordinate_); }

    // "Lat: 52.5200, Lon: 13.4050", with a point whatever the process's locale.
    static std::string coordinateText(const MapCoordinate& coordinate);

private:
    MapCoordinate coordinate_;
    std::string title_;
};

}  // namespace quorvel
