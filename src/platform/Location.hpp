// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/Date.hpp"

namespace quorvel {

// A device position as the location service reports it.
struct Location {
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double horizontalAccuracy = -1.0;  // metres; negative means unknown
    Date timestamp{};

    // Great-circle distance in metres (haversine on the mean Earth radius).
    double distanceFromLocation(const Location& other) const;
    // The same where it is short, for telling places apart: from a flat projection at the pair's
    // mean latitude, within a millimetre of the great-circle distance up to 1 km apart and 5 cm
    // up to 10 km. Farther pairs get a figure that is far too, though not their distance. Within
    // 10 degrees of a pole it is the great-circle distance.
    double shortDistanceFrom(const Location& other) const;
    // Finite and within the ranges of latitude and longitude.
    bool isValid() const;

    friend bool operator==(const Location&, const Location&) = default;
};

}  // namespace quorvel
