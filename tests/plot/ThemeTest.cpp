// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTDarkGradientsTheme.hpp"
#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTRecordingContext.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTXYAxis.hpp"
#include "plot/CPTXYAxisSet.hpp"
#include "plot/CPTXYGraph.hpp"
#include "plot/CPTXYPlotSpace.hpp"

#include <gtest/gtest.h>

#include <set>

using namespace quorvel;

namespace {

// Everything a graph draws, as the recording context sees it.
CPTRecordingContext drawn(const std::shared_ptr<CPTGraph>& graph)
{
    CPTGraphHostingView host(CPTRect::make(0, 0, 320, 240));
    host.setHostedGraph(graph);
    host.setCollapsesLayers(true);  // drawn straight, not through the cached layers' stores
    CPTRecordingContext screen;
    host.drawInContext(screen);
    return screen;
}

}  // namespace

// The theme's look as it reaches the screen: a gradient behind the graph and the plot area, a
// framed plot area, axis lines and ticks in its styles, labels in its text style. An unthemed
// graph draws none of it.
TEST(Theme, DarkGradientsShowsInWhatTheGraphDraws)
{
    auto plain = std::make_shared<CPTXYGraph>();
    auto themed = std::make_shared<CPTXYGraph>();
    auto theme = CPTTheme::themeNamed("Dark Gradients");
    ASSERT_NE(theme, nullptr);
    themed->applyTheme(theme.get());

    const CPTRecordingContext before = drawn(plain);
    const CPTRecordingContext after = drawn(themed);
    EXPECT_TRUE(before.operations(CPTRecordedOperation::Kind::Gradient).empty());
    const auto gradients = after.operations(CPTRecordedOperation::Kind::Gradient);
    ASSERT_EQ(gradients.size(), 2u) << "the graph's background and the plot area's";
    for (const auto& g : gradients) {
        EXPECT_GT(g.gradient.stops().size(), 1u);
        EXPECT_EQ(g.start.x, g.end.x) << "a vertical gradient";
    }

    std::set<double> widths;
    std::set<CPTLineCap> caps;
    for (const auto& stroke : after.operations(CPTRecordedOperation::Kind::Stroke)) {
        widths.insert(stroke.lineWidth);
        caps.insert(stroke.lineCap);
        EXPECT_NE(stroke.color, CPTColor::blackColor()) << "every line is in the theme's greys";
    }
    EXPECT_TRUE(widths.contains(4.0)) << "the plot area's frame";
    EXPECT_TRUE(widths.contains(2.0)) << "the axis lines";
    EXPECT_TRUE(caps.contains(CPTLineCap::Square));

    const auto labels = after.operations(CPTRecordedOperation::Kind::Text);
    ASSERT_FALSE(labels.empty());
    for (const auto& label : labels) {
        EXPECT_EQ(label.color, CPTColor::whiteColor()) << label.text;
        EXPECT_EQ(label.textStyle.fontSize(), 14.0) << label.text;
    }
    EXPECT_GT(labels.size(), before.operations(CPTRecordedOperation::Kind::Text).size())
        << "labels at every half unit";
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
    // The registry is the process's: the class registered here goes again before anything fails.
    const bool removed = CPTTheme::unregisterThemeClass("aardvarkTheme");
    EXPECT_TRUE(removed);
    ASSERT_GE(classes.size(), 2U);
    EXPECT_EQ(classes[0], "aardvarkTheme");
    EXPECT_EQ(classes[1], "CPTDarkGradientsTheme");
    EXPECT_EQ(CPTTheme::themeNamed("Aardvark"), nullptr);
    EXPECT_FALSE(CPTTheme::unregisterThemeClass("aardvarkTheme"));
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
