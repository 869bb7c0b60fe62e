// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// The application's style sheets, following the desktop: the light or dark style and high
// contrast as libadwaita's style manager reports them, switched while the window is open. The
// base sheet suits the light style; the dark one brings back the deep blue-grey screens and
// their pictures; the high-contrast ones drop dim greys, shadows and pictures.
class SystemStyle {
public:
    // Installs the sheets for the default display, once; later calls do nothing.
    static void install();
    static bool dark();
    static bool highContrast();
    // Whether screens draw their dark panel and row pictures: only in the dark style without
    // high contrast; otherwise they take the style's own card colours.
    static bool picturesShown() { return dark() && !highContrast(); }
};

}  // namespace quorvel
