// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/RegionAnnotation.hpp"

#include <charconv>
#include <utility>

namespace quorvel {

namespace {

std::string fixed4(double value)
{
    // to_chars ignores the C locale, which GTK sets from the environment.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("0.0000");
}

}  // namespace

RegionAnnotation::RegionAnnotation(MapCoordinate coordinate, std::string title)
    : coordinate_(coordinate), title_(std::move(title))
{
}

std::string RegionAnnotation::coordinateText(const MapCoordinate& coordinate)
{
    return "Lat: " + fixed4(coordinate.latitude) + ", Lon: " + fixed4(coordinate.longitude);
}

}  // namespace quorvel
