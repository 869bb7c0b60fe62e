// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// The application's colours, components 0..1.
struct UIColorSets {
    struct Rgba {
        double red, green, blue, alpha;
    };
    // The accent: emphasised texts on the main, settings and chart screens.
    static constexpr Rgba primaryActiveColor() { return {0.6, 0.8, 0.2, 1.0}; }
    // The selected tab's tint.
    static constexpr Rgba selectedTabTint() { return {137 / 255.0, 197 / 255.0, 39 / 255.0, 1.0}; }
};

}  // namespace quorvel
