// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "ui/UIColorSets.hpp"

namespace quorvel {

// Which pin picture a place gets for the bytes used there, and the colour a pin is drawn in when
// its picture is missing from the bundle.
class PinPicture {
public:
    static constexpr const char* kGray = "grayPin.png";
    static constexpr const char* kYellow = "yellowPin.png";
    static constexpr const char* kPurple = "purplePin.png";
    static constexpr const char* kBlue = "bluePin1.png";
    static constexpr const char* kGreen = "greenPin.png";
    static constexpr const char* kRed = "redPin.png";

    // Zero is gray; anything else below 10 kB (a damaged negative amount too) is yellow.
    static std::string nameForBytes(std::int64_t bytes);
    static UIColorSets::Rgba fallbackColor(const std::string& name);
};

}  // namespace quorvel
