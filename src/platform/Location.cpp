// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Location.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvel {

namespace {
constexpr double kEarthRadiusMetres = 6'371'008.8;

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }
}  // namespace

double Location::distanceFromLocation(const Location& other) const
{
    const double dLat = radians(other.latitude - latitude);
    const double dLon = radians(other.longitude - longitude);
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(radians(latitude)) * std::cos(radians(other.latitude)) *
                         std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2.0 * kEarthRadiusMetres * std::asin(std::sqrt(std::clamp(a, 0.0, 1.0)));
}

bool Location::isValid() const
{
    return std::isfinite(latitude) && std::isfinite(longitude) && latitude >= -90.0 && latitude <= 90.0 &&
           longitude >= -180.0 && longitude <= 180.0;
}

}  // namespace quorvel
