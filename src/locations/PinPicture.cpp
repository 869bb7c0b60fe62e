// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/PinPicture.hpp"

namespace quorvel {

std::string PinPicture::nameForBytes(std::int64_t bytes)
{
    if (bytes == 0) {
        return kGray;
    }
    if (bytes < 10'000) {
        return kYellow;
    }
    if (bytes < 1'000'000) {
        return kPurple;
    }
    if (bytes < 50'000'000) {
        return kBlue;
    }
    if (bytes < 1'000'000'000) {
        return kGreen;
    }
    return kRed;
}

UIColorSets::Rgba PinPicture::fallbackColor(const std::string& name)
{
    // Tones that stay distinct on the dark map background.
    if (name == kYellow) {
        return {1.0, 0.80, 0.0, 1.0};
    }
    if (name == kPurple) {
        return {0.69, 0.32, 0.87, 1.0};
    }
    if (name == kBlue) {
        return {0.04, 0.52, 1.0, 1.0};
    }
    if (name == kGreen) {
        return {0.19, 0.82, 0.35, 1.0};
    }
    if (name == kRed) {
        return {1.0, 0.27, 0.23, 1.0};
    }
    return {0.56, 0.56, 0.58, 1.0};
}

}  // namespace quorvel
