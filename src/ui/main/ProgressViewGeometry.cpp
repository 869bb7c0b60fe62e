// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/ProgressViewGeometry.hpp"

#include <algorithm>
#include <cmath>

namespace quorvel {

double ProgressViewGeometry::norm(double ratio)
{
    if (!(ratio > 0.0)) {
        return 0.0;
    }
    return ratio > 1.0 ? 1.0 : ratio;
}

ProgressViewGeometry::Margins ProgressViewGeometry::margins(double leftCapWidth, double rightCapWidth,
                                                            bool arrowsPresent, double topArrowHeight,
                                                            double bottomArrowHeight)
{
    Margins m;
    m.left = std::trunc(leftCapWidth);
    m.right = std::trunc(rightCapWidth);
    m.vert = arrowsPresent ? std::trunc(std::max(topArrowHeight, bottomArrowHeight)) : 0.0;
    return m;
}

ViewRect ProgressViewGeometry::progressRect(double width, double height, const Margins& m)
{
    return {m.left, m.vert, width - (m.left + m.right), height - 2 * m.vert};
}

ViewRect ProgressViewGeometry::filledRect(const ViewRect& bar, double progress)
{
    ViewRect filled = bar;
    filled.width = std::trunc(bar.width * norm(progress));
    return filled;
}

double ProgressViewGeometry::markerX(const ViewRect& bar, double marker)
{
    return bar.x + bar.width * norm(marker);
}

double ProgressViewGeometry::markerLineLength(const ViewRect& bar)
{
    return kMarkerLineShare * bar.height;
}

ViewRect ProgressViewGeometry::markerLineRect(const ViewRect& bar, double marker, double lineImageWidth)
{
    return {std::trunc(markerX(bar, marker) - lineImageWidth / 2), bar.y, lineImageWidth, markerLineLength(bar)};
}

ViewRect ProgressViewGeometry::topArrowRect(const ViewRect& bar, double marker, double arrowWidth, double arrowHeight)
{
    return {markerX(bar, marker) - arrowWidth / 2, 0, arrowWidth, arrowHeight};
}

ViewRect ProgressViewGeometry::bottomArrowRect(const ViewRect& bar, double marker, double arrowWidth,
                                               double arrowHeight)
{
    return {markerX(bar, marker) - arrowWidth / 2, bar.y + markerLineLength(bar), arrowWidth, arrowHeight};
}

ProgressViewGeometry::TitleRects ProgressViewGeometry::titleRects(double viewHeight, const ViewRect& bar, double marker)
{
    const double top = bar.y + markerLineLength(bar);
    const double height = viewHeight - top;
    const double leftWidth = bar.width * norm(marker);
    return {{bar.x, top, leftWidth, height}, {markerX(bar, marker), top, bar.width - leftWidth, height}};
}

ProgressViewGeometry::ProgressText ProgressViewGeometry::progressTextPlacement(const ViewRect& bar,
                                                                               const ViewRect& filled,
                                                                               double textWidth, double textHeight)
{
    ProgressText placed;
    placed.origin.y = bar.y + (markerLineLength(bar) - textHeight) / 2;
    placed.inside = textWidth + 2 < filled.width;
    placed.origin.x = placed.inside ? bar.x + (filled.width - textWidth) / 2 : bar.x + filled.width + kProgressTextGap;
    return placed;
}

ProgressViewGeometry::Point ProgressViewGeometry::markerTextPlacement(const TitleRects& titles, double markerX,
                                                                      double textWidth)
{
    const double top = titles.left.y;
    if (titles.left.width >= textWidth / 2 && titles.right.width >= textWidth / 2) {
        return {markerX - textWidth / 2, top + kCentredDateDrop};
    }
    if (titles.left.width >= textWidth) {
        return {markerX - textWidth - kDateBeforeMarker, top + kSideDateDrop};
    }
    return {markerX + kDateAfterMarker, top + kSideDateDrop};
}

double ProgressViewGeometry::preferredHeight(const Margins& m, double dateTextHeight, double minimumBar)
{
    // Below the line there are (1 − share)·h + (2·share − 1)·V points; the date needs its drop and height.
    const double below = 1.0 - kMarkerLineShare;
    const double forDate = (kCentredDateDrop + dateTextHeight - (2 * kMarkerLineShare - 1) * m.vert) / below;
    return std::ceil(std::max(forDate, 2 * m.vert + minimumBar));
}

}  // namespace quorvel
