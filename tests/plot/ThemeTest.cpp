#include "plot/CPTDarkGradientsTheme.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTXYAxis.hpp"
#include "plot/CPTXYAxisSet.hpp"
#include "plot/CPTXYGraph.hpp"
#include "plot/CPTXYPlotSpace.hpp"

#include <gtest/gtest.h>

using namespace quorvel;

TEST(Theme, DarkGradientsStylesGraphFrameAndAxes)
{
    CPTXYGraph graph;
    auto theme = CPTTheme::themeNamed("Dark Gradients");
    ASSERT_NE(theme, nullptr);
    graph.applyTheme(theme.get());

    const CPTGradient* background = graph.fill()->gradient();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->angle(), 90.0);
    std::vector<double> positions;
    for (const auto& stop : background->stops()) {
        positions.push_back(stop.position);
    }
    EXPECT_EQ(positions, (std::vector<double>{0.0, 0.3, 0.5, 0.6, 1.0}));
    EXPECT_EQ(background->stops()[2].color, CPTColor::colorWithGenericGray(0.3));

    const CPTPlotAreaFrame* frame = graph.plotAreaFrame();
    EXPECT_EQ(frame->borderLineStyle()->lineWidth(), 4.0);
    EXPECT_EQ(frame->borderLineStyle()->lineColor(), CPTColor::colorWithGenericGray(0.2));
    EXPECT_EQ(frame->cornerRadius(), 10.0);
    EXPECT_EQ(frame->fill()->gradient()->stops().back().color, CPTColor::colorWithGenericGray(0.3));

    for (CPTAxis* axis : graph.axisSet()->axes()) {
        EXPECT_EQ(axis->labelingPolicy(), CPTAxisLabelingPolicy::FixedInterval);
        EXPECT_EQ(axis->majorIntervalLength(), Decimal::fromString("0.5"));
        EXPECT_EQ(axis->minorTicksPerInterval(), 4U);
        EXPECT_EQ(axis->tickDirection(), CPTSign::None);
        EXPECT_EQ(axis->majorTickLength(), 7.0);
        EXPECT_EQ(axis->minorTickLength(), 5.0);
        EXPECT_EQ(axis->axisLineStyle()->lineWidth(), 2.0);
        EXPECT_EQ(axis->axisLineStyle()->lineCap(), CPTLineCap::Square);
        EXPECT_EQ(axis->minorTickLineStyle()->lineColor(), CPTColor::darkGrayColor());
        EXPECT_EQ(axis->labelTextStyle()->fontSize(), 14.0);
        EXPECT_EQ(axis->labelTextStyle()->color(), CPTColor::whiteColor());
        EXPECT_EQ(axis->minorTickLabelTextStyle()->fontSize(), 12.0);
        EXPECT_EQ(axis->titleTextStyle()->fontSize(), 14.0);
        EXPECT_EQ(axis->labelOffset(), 2.0);
    }
}

TEST(Theme, UnknownNamesFindNothingAndLeaveTheGraphAlone)
{
    CPTXYGraph graph;
    auto theme = CPTTheme::themeNamed("Neon");
    EXPECT_EQ(theme, nullptr);
    graph.applyTheme(theme.get());
    EXPECT_FALSE(graph.fill().has_value());
}

TEST(Theme, RegistrationIsOncePerClassAndListedByName)
{
    try {
        CPTTheme::registerThemeClass(CPTDarkGradientsTheme::kClassName, "Again", nullptr);
        FAIL() << "no exception";
    } catch (const CPTException& e) {
        EXPECT_STREQ(e.what(), "Theme class already registered: CPTDarkGradientsTheme");
    }
    CPTTheme::registerThemeClass("aardvarkTheme", "Aardvark", [] { return std::make_unique<CPTDarkGradientsTheme>(); });
    const auto classes = CPTTheme::themeClasses();
    ASSERT_GE(classes.size(), 2U);
    EXPECT_EQ(classes[0], "aardvarkTheme");
    EXPECT_EQ(classes[1], "CPTDarkGradientsTheme");
}

TEST(Theme, GraphClassMustBeAConcreteGraph)
{
    CPTDarkGradientsTheme theme;
    for (const char* bad : {"CPTGraph", "CPTPlotArea"}) {
        try {
            theme.setGraphClass(bad);
            FAIL() << bad;
        } catch (const CPTException& e) {
            EXPECT_STREQ(e.what(), "Invalid graph class for theme; must be a subclass of CPTGraph");
        }
    }
    theme.setGraphClass("CPTXYGraph");
    theme.setGraphClass("CPTXYGraph");
    auto graph = theme.newGraph();
    EXPECT_EQ(graph->bounds().size, (CPTSize{200, 200}));
    EXPECT_EQ(graph->paddingLeft(), 60.0);
    const auto& x = static_cast<CPTXYPlotSpace*>(graph->defaultPlotSpace())->xRange();
    EXPECT_EQ(x, CPTPlotRange(Decimal::fromInteger(-1), Decimal::fromInteger(1)));
    EXPECT_TRUE(graph->fill().has_value());
}
