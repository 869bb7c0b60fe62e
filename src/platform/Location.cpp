// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Location.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace quorvel {

namespace {
constexpr double kEarthRadiusMetres = 6'371'008.8;

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// cos for |x| <= 80 degrees from its series to x^18 (the next term is below 3e-16). The watcher
// books every sample with a place through it: libm's trigonometry would map some 280 KiB of its
// code and tables into the resident process for good.
constexpr std::array<double, 10> kCosineSeries = [] {
    std::array<double, 10> c{};
    double term = 1.0;
    for (std::size_t k = 0; k < c.size(); ++k) {
        c[k] = term;
        term = -term / static_cast<double>((2 * k + 1) * (2 * k + 2));
    }
    return c;
}();

double cosineUpTo80Degrees(double x)
{
    const double y = x * x;
    double sum = 0.0;
    for (auto c = kCosineSeries.rbegin(); c != kCosineSeries.rend(); ++c) {
        sum = sum * y + *c;
    }
    return sum;
}

constexpr double kFlatLatitudeLimit = 80.0;
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

double Location::shortDistanceFrom(const Location& other) const
{
    if (std::fabs(latitude) > kFlatLatitudeLimit || std::fabs(other.latitude) > kFlatLatitudeLimit) {
        return distanceFromLocation(other);  // meridians converge too fast for a flat view
    }
    double dLon = other.longitude - longitude;
    if (dLon > 180.0) {
        dLon -= 360.0;
    } else if (dLon < -180.0) {
        dLon += 360.0;
    }
    const double x = radians(dLon) * cosineUpTo80Degrees(radians((latitude + other.latitude) / 2));
    const double y = radians(other.latitude - latitude);
    return kEarthRadiusMetres * std::sqrt(x * x + y * y);
}

bool Location::isValid() const
{
    return std::isfinite(latitude) && std::isfinite(longitude) && latitude >= -90.0 && latitude <= 90.0 &&
           longitude >= -180.0 && longitude <= 180.0;
}

}  // namespace quorvel
