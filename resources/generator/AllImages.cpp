// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageSpec.hpp"

namespace quorvel::art {

std::vector<ImageSpec> allImages()
{
    std::vector<ImageSpec> all;
    for (auto group : {tabImages, gaugeImages, panelImages, pinImages, buttonImages, rowImages, iconImages}) {
        for (auto& picture : group()) {
            all.push_back(std::move(picture));
        }
    }
    return all;
}

}  // namespace quorvel::art
