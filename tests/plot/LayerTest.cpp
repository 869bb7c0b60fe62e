// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTAssertionFailure.hpp"
#include "plot/CPTBorderedLayer.hpp"
#include "plot/CPTConstraints.hpp"
#include "plot/CPTLayer.hpp"
#include "plot/CPTMutableLineStyle.hpp"
#include "plot/CPTMutableTextStyle.hpp"
#include "plot/CPTRecordingContext.hpp"
#include "plot/CPTTextLayer.hpp"

#include "GeometryPrinting.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace quorvel;

TEST(Layer, SublayersFillThePaddedBoundsAndNeverGoNegative)
{
    struct Case {
        CPTRect bounds;
        double left, top, right, bottom;
        CPTRect expected;
    };
    const Case cases[] = {
        {CPTRect::make(0, 0, 320, 200), 40, 20, 20, 28, CPTRect::make(40, 28, 260, 152)},
        {CPTRect::make(0, 0, 320, 200), 0, 0, 0, 0, CPTRect::make(0, 0, 320, 200)},
        {CPTRect::make(0, 0, 50, 30), 40, 20, 20, 28, CPTRect::make(40, 28, 0, 0)},
        {CPTRect::make(0, 0, 100, 100), 10.4, 0, 0, 10.6, CPTRect::make(10, 11, 90, 89)},
    };
    for (const auto& c : cases) {
        CPTLayer parent(c.bounds);
        CPTLayer child;
        parent.addSublayer(&child);
        parent.setPaddingLeft(c.left);
        parent.setPaddingTop(c.top);
        parent.setPaddingRight(c.right);
        parent.setPaddingBottom(c.bottom);
        parent.layoutIfNeeded();
        EXPECT_EQ(child.frame(), c.expected) << c.left << "," << c.bottom;
    }
}

TEST(Layer, BorderWidthAddsHalfToTheMargins)
{
    CPTBorderedLayer layer(CPTRect::make(0, 0, 100, 50));
    CPTLayer child;
    layer.addSublayer(&child);
    CPTMutableLineStyle border;
    border.setLineWidth(4.0);
    layer.setBorderLineStyle(border);
    layer.layoutIfNeeded();
    EXPECT_EQ(child.frame(), CPTRect::make(2, 2, 96, 46));
}

TEST(Layer, ContentsScaleMustBePositiveAndIsInherited)
{
    CPTLayer parent;
    CPTLayer child;
    parent.addSublayer(&child);
    parent.setContentsScale(2.0);
    EXPECT_EQ(child.contentsScale(), 2.0);
    CPTLayer late;
    parent.addSublayer(&late);
    EXPECT_EQ(late.contentsScale(), 2.0);
    try {
        parent.setContentsScale(0.0);
        FAIL() << "no assertion";
    } catch (const CPTAssertionFailure& failure) {
        EXPECT_STREQ(failure.what(), "Invalid parameter not satisfying: newContentsScale > 0.0");
    }
    EXPECT_EQ(parent.contentsScale(), 2.0);
}

TEST(Layer, DestroyedLayersLeaveTheTree)
{
    CPTLayer parent;
    auto child = std::make_unique<CPTLayer>();
    auto grandchild = std::make_unique<CPTLayer>();
    parent.addSublayer(child.get());
    child->addSublayer(grandchild.get());
    child.reset();
    EXPECT_TRUE(parent.sublayers().empty());
    EXPECT_EQ(grandchild->superlayer(), nullptr);
}

TEST(Layer, PointsConvertThroughPositionsAndTransforms)
{
    CPTLayer root(CPTRect::make(0, 0, 320, 200));
    CPTLayer inner(CPTRect::make(40, 28, 260, 152));
    CPTLayer rotated(CPTRect::make(0, 0, 20, 10));
    root.addSublayer(&inner);
    inner.addSublayer(&rotated);
    EXPECT_EQ(inner.convertPointToLayer({0, 0}, &root), (CPTPoint{40, 28}));
    EXPECT_EQ(root.convertPointToLayer({50, 30}, &inner), (CPTPoint{10, 2}));
    rotated.setTransform(CPTAffineTransform::rotation(1.5707963267948966));  // about its centre (10, 5)
    const CPTPoint p = rotated.convertPointToLayer({20, 5}, &inner);
    EXPECT_NEAR(p.x, 10.0, 1e-9);
    EXPECT_NEAR(p.y, 15.0, 1e-9);
}

TEST(Layer, PixelAlignmentPutsTheOriginOnWholePixels)
{
    struct Case {
        CPTSize size;
        CPTPoint anchor;
        CPTPoint position;
        double scale;
        CPTPoint expected;
    };
    const Case cases[] = {
        {{21, 17}, {0.5, 1.0}, {100.3, 50.2}, 1.0, {100.5, 50.0}},
        {{20, 17}, {0.5, 0.5}, {100.3, 50.2}, 1.0, {100.0, 50.5}},
        {{21, 17}, {1.0, 0.5}, {99.8, 60.0}, 2.0, {100.0, 60.0}},
    };
    for (const auto& c : cases) {
        CPTLayer layer;
        layer.setContentsScale(c.scale);
        layer.setBounds(CPTRect{{0, 0}, c.size});
        layer.setAnchorPoint(c.anchor);
        layer.setPosition(c.position);
        layer.pixelAlign();
        EXPECT_NEAR(layer.position().x, c.expected.x, 1e-9);
        EXPECT_NEAR(layer.position().y, c.expected.y, 1e-9);
        const CPTRect frame = layer.frame();
        EXPECT_NEAR(frame.minX() * c.scale, std::round(frame.minX() * c.scale), 1e-9);
        EXPECT_NEAR(frame.minY() * c.scale, std::round(frame.minY() * c.scale), 1e-9);
    }
}

TEST(Constraints, PlaceBetweenBoundsAndRejectCrossedBounds)
{
    EXPECT_EQ(CPTConstraints::constraintWithLowerOffset(3).positionForLowerBound(10, 20), 13.0);
    EXPECT_EQ(CPTConstraints::constraintWithUpperOffset(3).positionForLowerBound(10, 20), 17.0);
    EXPECT_EQ(CPTConstraints::constraintWithRelativeOffset(0.5).positionForLowerBound(10, 20), 15.0);
    EXPECT_THROW(CPTConstraints::constraintWithLowerOffset(0).positionForLowerBound(20, 10), CPTAssertionFailure);
}

TEST(BorderedLayer, RoundedFillAndInsetBorder)
{
    CPTBorderedLayer layer(CPTRect::make(0, 0, 100, 40));
    layer.setFill(CPTFill::fillWithColor(CPTColor::redColor()));
    CPTMutableLineStyle border;
    border.setLineWidth(4.0);
    layer.setBorderLineStyle(border);
    layer.setCornerRadius(10.0);
    CPTRecordingContext context;
    layer.renderAsVectorInContext(context);
    const auto fills = context.operations(CPTRecordedOperation::Kind::Fill);
    const auto strokes = context.operations(CPTRecordedOperation::Kind::Stroke);
    ASSERT_EQ(fills.size(), 1U);
    ASSERT_EQ(strokes.size(), 1U);
    // Fill: the bounds with radius r + w/2; border: the bounds inset by w/2 with radius r.
    double fillRadius = 0.0;
    for (const auto& e : fills[0].path) {
        if (e.kind == CPTRecordedOperation::PathElement::Kind::Arc) {
            fillRadius = e.radius;
        }
    }
    EXPECT_DOUBLE_EQ(fillRadius, 12.0);
    EXPECT_EQ(strokes[0].pathPoints().front(), (CPTPoint{2, 20}));
    EXPECT_EQ(strokes[0].lineWidth, 4.0);
}

TEST(TextLayer, FitsItsTextPlusOnePointOnEverySide)
{
    CPTMutableTextStyle style;
    style.setFontSize(10.0);
    CPTTextLayer twoLines("ab\ncde", style);
    // Fixed metrics: 3 characters of 5 points, 2 lines of 12.5 points.
    EXPECT_EQ(twoLines.bounds().size, (CPTSize{17.0, 27.0}));
    twoLines.setText("");
    EXPECT_EQ(twoLines.bounds().size, (CPTSize{0.0, 0.0}));

    CPTTextLayer label("Days", style);
    CPTRecordingContext context;
    label.renderAsVectorInContext(context);
    const auto texts = context.operations(CPTRecordedOperation::Kind::Text);
    ASSERT_EQ(texts.size(), 1U);
    EXPECT_EQ(texts[0].text, "Days");
    EXPECT_EQ(texts[0].rect, CPTRect::make(1, 1, 20, 13));  // inside the 22 x 15 layer, y down
    EXPECT_EQ(texts[0].transform.d, -1.0);

    style.setColor(std::nullopt);
    label.setTextStyle(style);
    CPTRecordingContext silent;
    label.renderAsVectorInContext(silent);
    EXPECT_TRUE(silent.operations().empty());
}
