// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTRecordedOperation.hpp"

namespace quorvel {

std::vector<CPTPoint> CPTRecordedOperation::pathPoints() const
{
    std::vector<CPTPoint> points;
    for (const auto& element : path) {
        if (element.kind == PathElement::Kind::Rect || element.kind == PathElement::Kind::Ellipse) {
            points.push_back(element.rect.origin);
        } else {
            points.insert(points.end(), element.points.begin(), element.points.end());
        }
    }
    return points;
}

}  // namespace quorvel
