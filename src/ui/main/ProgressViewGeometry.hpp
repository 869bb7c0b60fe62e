// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "ui/ViewRect.hpp"

namespace quorvel {

// Where the usage gauge puts its parts, from the view's size and its pictures' sizes alone, so
// that every rule can be checked without drawing. All values in points, origin top left.
class ProgressViewGeometry {
public:
    // The only proportion of the gauge: the marker line covers the upper 84.3 % of the bar, and
    // the arrow below it, the percentage band and the date all follow from that line.
    static constexpr double kMarkerLineShare = 0.843;
    static constexpr double kProgressTextGap = 10;   // from the filled end to an outside percentage
    static constexpr double kCentredDateDrop = 10;   // from the line's end to a centred date
    static constexpr double kSideDateDrop = 4;       // ... to a date beside the marker
    static constexpr double kDateBeforeMarker = 8;   // a date that ends left of the marker
    static constexpr double kDateAfterMarker = 10;   // a date that starts right of the marker

    // The sizes the geometry needs; a missing picture gives 0.
    struct Margins {
        double left = 0;   // width of the left cap, whole points
        double right = 0;  // width of the right cap, whole points
        double vert = 0;   // the taller arrow, whole points (0 when an arrow is missing)
    };
    struct Point {
        double x = 0;
        double y = 0;
        bool operator==(const Point&) const = default;
    };
    struct TitleRects {
        ViewRect left;   // under the line, left of the marker
        ViewRect right;  // under the line, from the marker on
    };
    struct ProgressText {
        Point origin;     // top left of the text
        bool inside = false;  // white in the filled part; else dark grey beside it
    };

    // A ratio limited to 0..1 for drawing (NaN draws as 0).
    static double norm(double ratio);
    // The margins from the pictures' sizes: widths and heights truncated to whole points.
    static Margins margins(double leftCapWidth, double rightCapWidth, bool arrowsPresent, double topArrowHeight,
                           double bottomArrowHeight);

    static ViewRect progressRect(double width, double height, const Margins& m);
    static ViewRect filledRect(const ViewRect& bar, double progress);
    static double markerX(const ViewRect& bar, double marker);
    static double markerLineLength(const ViewRect& bar);
    static ViewRect markerLineRect(const ViewRect& bar, double marker, double lineImageWidth);
    static ViewRect topArrowRect(const ViewRect& bar, double marker, double arrowWidth, double arrowHeight);
    static ViewRect bottomArrowRect(const ViewRect& bar, double marker, double arrowWidth, double arrowHeight);
    static TitleRects titleRects(double viewHeight, const ViewRect& bar, double marker);

    static ProgressText progressTextPlacement(const ViewRect& bar, const ViewRect& filled, double textWidth,
                                              double textHeight);
    static Point markerTextPlacement(const TitleRects& titles, double markerX, double textWidth);

    // The lowest view height at which a date centred under the marker still fits above the
    // bottom edge, never less than a bar of `minimumBar` points.
    static double preferredHeight(const Margins& m, double dateTextHeight, double minimumBar);
};

}  // namespace quorvel
