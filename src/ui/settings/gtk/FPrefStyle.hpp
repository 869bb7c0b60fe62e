// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// The look of the settings, reset and reference pages: the black navigation bar, the dark page,
// white row titles that turn to the accent while pressed, and the section captions. Installed
// once for the display, scoped to the pages' own style classes.
class FPrefStyle {
public:
    static void install();
};

}  // namespace quorvel
