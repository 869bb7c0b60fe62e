// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// A rectangle in a view's own points, origin at the top left, y growing downward.
struct ViewRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double right() const { return x + width; }
    double bottom() const { return y + height; }
    bool operator==(const ViewRect&) const = default;
};

}  // namespace quorvel
