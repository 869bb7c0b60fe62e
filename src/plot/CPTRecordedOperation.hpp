// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAffineTransform.hpp"
#include "plot/CPTColor.hpp"
#include "plot/CPTGradient.hpp"
#include "plot/CPTLineStyle.hpp"
#include "plot/CPTRect.hpp"
#include "plot/CPTTextStyle.hpp"

#include <string>
#include <vector>

namespace quorvel {

class CPTBackingStore;

// One drawing operation as the recording context saw it, with its exact geometry in the
// user space of the moment and the transform to device space beside it.
struct CPTRecordedOperation {
    enum class Kind { Fill, Stroke, Clip, Gradient, Text, Image };

    struct PathElement {
        enum class Kind { Move, Line, Curve, Arc, Close, Rect, Ellipse };
        Kind kind = Kind::Move;
        std::vector<CPTPoint> points;  // move/line: 1; curve: control1, control2, end; arc: centre
        double radius = 0.0;
        double startAngle = 0.0;
        double endAngle = 0.0;
        bool clockwise = false;
        CPTRect rect;  // rect and ellipse elements
    };

    Kind kind = Kind::Fill;
    CPTAffineTransform transform;       // user to device when recorded
    std::vector<PathElement> path;      // fill, stroke, clip
    bool evenOdd = false;
    CPTColor color;                     // fill or stroke colour, text colour
    double lineWidth = 1.0;             // stroke
    CPTLineCap lineCap = CPTLineCap::Butt;
    CPTLineJoin lineJoin = CPTLineJoin::Miter;
    double miterLimit = 10.0;
    std::vector<double> dashLengths;
    CPTGradient gradient;               // gradient
    CPTPoint start;
    CPTPoint end;
    std::string text;                   // text
    CPTTextStyle textStyle;
    CPTRect rect;                       // text box, image bounds, clip rect
    const CPTBackingStore* image = nullptr;

    // The path's points in order (arc centres and rect origins included), for quick checks.
    std::vector<CPTPoint> pathPoints() const;
};

}  // namespace quorvel
