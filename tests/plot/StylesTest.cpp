// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTFill.hpp"
#include "plot/CPTGradient.hpp"
#include "plot/CPTMutableLineStyle.hpp"
#include "plot/CPTMutableTextStyle.hpp"
#include "plot/CPTRecordingContext.hpp"

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

void expectColor(const CPTColor& color, double r, double g, double b, double a)
{
    EXPECT_NEAR(color.red(), r, 1e-12);
    EXPECT_NEAR(color.green(), g, 1e-12);
    EXPECT_NEAR(color.blue(), b, 1e-12);
    EXPECT_NEAR(color.alpha(), a, 1e-12);
}

}  // namespace

TEST(Color, NamedColoursAndGreys)
{
    expectColor(CPTColor::colorWithGenericGray(0.5), 0.5, 0.5, 0.5, 1.0);
    expectColor(CPTColor::darkGrayColor(), 1.0 / 3, 1.0 / 3, 1.0 / 3, 1.0);
    expectColor(CPTColor::lightGrayColor(), 2.0 / 3, 2.0 / 3, 2.0 / 3, 1.0);
    expectColor(CPTColor::redColor(), 1.0, 0.0, 0.0, 1.0);
    expectColor(CPTColor::redColor().colorWithAlphaComponent(0.25), 1.0, 0.0, 0.0, 0.25);
    EXPECT_EQ(CPTColor::colorWithGenericGray(0.0), CPTColor::blackColor());
}

TEST(Gradient, ColourAtPositionBlendsLinearlyBetweenStops)
{
    const CPTGradient redToBlue = CPTGradient::gradientWithBeginningColor(CPTColor::redColor(),
                                                                          CPTColor::colorWithComponentRed(0, 0, 1, 1));
    expectColor(redToBlue.colorAtPosition(0.25), 0.75, 0.0, 0.25, 1.0);
    expectColor(redToBlue.colorAtPosition(-1.0), 1.0, 0.0, 0.0, 1.0);
    expectColor(redToBlue.colorAtPosition(2.0), 0.0, 0.0, 1.0, 1.0);
    expectColor(CPTGradient().colorAtPosition(0.5), 1.0, 1.0, 1.0, 1.0);

    const CPTGradient stepped = CPTGradient::gradientWithBeginningColor(CPTColor::colorWithGenericGray(0.1),
                                                                        CPTColor::colorWithGenericGray(0.1))
                                    .addColorStop(CPTColor::colorWithGenericGray(0.2), 0.3)
                                    .addColorStop(CPTColor::colorWithGenericGray(0.3), 0.5)
                                    .addColorStop(CPTColor::colorWithGenericGray(0.2), 0.6);
    expectColor(stepped.colorAtPosition(0.4), 0.25, 0.25, 0.25, 1.0);
    expectColor(stepped.colorAtPosition(0.8), 0.15, 0.15, 0.15, 1.0);
}

TEST(Gradient, AddingAStopMakesANewGradientAndKeepsEqualPositionsInOrder)
{
    const CPTGradient base = CPTGradient::gradientWithBeginningColor(CPTColor::blackColor(), CPTColor::whiteColor());
    const CPTGradient more = base.addColorStop(CPTColor::redColor(), 1.0);
    EXPECT_EQ(base.stops().size(), 2U);
    ASSERT_EQ(more.stops().size(), 3U);
    EXPECT_EQ(more.stops()[1].color, CPTColor::whiteColor());  // the existing stop at 1.0 stays first
    EXPECT_EQ(more.stops()[2].color, CPTColor::redColor());
}

TEST(Gradient, AxialGeometryFollowsTheAngle)
{
    struct Case {
        double angle;
        CPTRect rect;
        CPTPoint start;
        CPTPoint end;
    };
    const Case cases[] = {
        {0.0, CPTRect::make(0, 0, 10, 4), {0, 0}, {10, 0}},
        {90.0, CPTRect::make(2, 3, 10, 4), {2, 3}, {2, 7}},
        {45.0, CPTRect::make(0, 0, 10, 10), {0, 0}, {10, 10}},
        {-90.0, CPTRect::make(0, 0, 10, 4), {5, 4}, {5, 0}},
        {180.0, CPTRect::make(0, 0, 10, 4), {10, 2}, {0, 2}},
    };
    for (const auto& c : cases) {
        CPTGradient gradient = CPTGradient::gradientWithBeginningColor(CPTColor::blackColor(), CPTColor::whiteColor());
        gradient.setAngle(c.angle);
        const auto [start, end] = gradient.axialEndpoints(c.rect);
        EXPECT_NEAR(start.x, c.start.x, 1e-9) << c.angle;
        EXPECT_NEAR(start.y, c.start.y, 1e-9) << c.angle;
        EXPECT_NEAR(end.x, c.end.x, 1e-9) << c.angle;
        EXPECT_NEAR(end.y, c.end.y, 1e-9) << c.angle;
    }
}

TEST(Fill, GradientFillClipsToThePathAndShadesItsBoundingBox)
{
    CPTGradient gradient = CPTGradient::gradientWithBeginningColor(CPTColor::blackColor(), CPTColor::whiteColor());
    CPTRecordingContext context;
    context.addRect(CPTRect::make(2, 2, 6, 3));
    CPTFill::fillWithGradient(gradient).fillPathInContext(context);
    ASSERT_EQ(context.operations().size(), 2U);
    EXPECT_EQ(context.operations()[0].kind, CPTRecordedOperation::Kind::Clip);
    const auto& shade = context.operations()[1];
    EXPECT_EQ(shade.kind, CPTRecordedOperation::Kind::Gradient);
    EXPECT_EQ(shade.start, (CPTPoint{2, 2}));
    EXPECT_EQ(shade.end, (CPTPoint{8, 2}));
    EXPECT_EQ(context.saveDepth(), 0);

    CPTRecordingContext empty;
    CPTFill::fillWithGradient(gradient).fillPathInContext(empty);
    EXPECT_TRUE(empty.operations().empty());

    CPTRecordingContext solid;
    CPTFill::fillWithColor(CPTColor::redColor()).fillRect(CPTRect::make(0, 0, 1, 1), solid);
    ASSERT_EQ(solid.operations().size(), 1U);
    EXPECT_EQ(solid.operations()[0].color, CPTColor::redColor());
}

TEST(Styles, DefaultsAndMutableCopiesDoNotLeak)
{
    const CPTLineStyle line;
    EXPECT_EQ(line.lineWidth(), 1.0);
    EXPECT_EQ(line.miterLimit(), 10.0);
    EXPECT_EQ(line.lineCap(), CPTLineCap::Butt);
    EXPECT_TRUE(line.dashPattern().empty());
    EXPECT_EQ(line.lineColor(), CPTColor::blackColor());
    const CPTTextStyle text;
    EXPECT_EQ(text.fontName(), "Helvetica");
    EXPECT_EQ(text.fontSize(), 12.0);
    EXPECT_EQ(text.textAlignment(), CPTTextAlignment::Left);

    CPTMutableLineStyle changing;
    changing.setLineWidth(3.0);
    const CPTLineStyle kept = changing;
    changing.setLineWidth(5.0);
    EXPECT_EQ(kept.lineWidth(), 3.0);

    CPTRecordingContext context;
    changing.setDashPattern({2.0, 1.0});
    context.moveTo({0, 0});
    context.lineTo({1, 1});
    changing.strokePathInContext(context);
    ASSERT_EQ(context.operations().size(), 1U);
    EXPECT_EQ(context.operations()[0].lineWidth, 5.0);
    EXPECT_EQ(context.operations()[0].dashLengths, (std::vector<double>{2.0, 1.0}));
}
