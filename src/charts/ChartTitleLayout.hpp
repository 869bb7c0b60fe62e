// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>

namespace quorvel {

// Where a chart page puts its titles so that measured text never runs into the plot: the y
// title beyond the widest tick label, the graph title above the plot area and its top label,
// and the plot area frame's padding widened just enough to keep both titles on the graph. The
// page's own offsets are the minimum; with short labels and one-line titles nothing moves.
struct ChartTitleLayout {
    static constexpr double kMinYTitleOffset = 25;
    static constexpr double kMinPaddingLeft = 40;
    static constexpr double kMinPaddingTop = 20;
    static constexpr double kGap = 2;  // between a title and the nearest text or plot edge

    // Sizes of the laid-out text layers, in points.
    struct Measured {
        double graphWidth = 0;     // 0 while the graph has no size: nothing depends on it then
        double paddingRight = 0;   // the plot area frame's right padding
        double axisFraction = 0;   // where the y axis crosses the plot area, 0 (left) .. 1 (right)
        double widestLabel = 0;    // widest y tick label
        double labelHeight = 0;    // a tick label's height
        double labelOffset = 0;    // tick labels' distance from the axis line
        double yTitleHeight = 0;   // the y title's thickness across the axis (it reads upward)
        double titleHeight = 0;    // the graph title, all its lines
        double titleDrop = 0;      // the page's distance of the title's centre below the top
    };

    double yTitleOffset = kMinYTitleOffset;
    double paddingLeft = kMinPaddingLeft;
    double paddingTop = kMinPaddingTop;
    double titleDrop = 0;  // distance of the graph title's centre below the graph's top

    static ChartTitleLayout place(const Measured& m);

    // Breaks every line of `text` wider than `maxWidth` between words, as few times as the
    // measure allows; a single word wider than that keeps a line of its own.
    static std::string wrap(const std::string& text, double maxWidth,
                            const std::function<double(const std::string&)>& widthOf);

    friend bool operator==(const ChartTitleLayout&, const ChartTitleLayout&) = default;
};

}  // namespace quorvel
