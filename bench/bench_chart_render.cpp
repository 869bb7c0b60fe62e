// SPDX-License-Identifier: GPL-3.0-or-later
// One chart page (both graphs of a 31-day month, 360 x 560 points at scale 2) laid out and
// rendered into an image surface, against the floor measured in the same run: the same
// primitives drawn by hand with Cairo and Pango (31 gradient bars with outlines, the 31-point
// line with its area and 31 ellipse symbols, the labels and titles). A second comparison is the
// redraw after new data only: series rebuilt, graphs reloaded, static layers kept. New data is
// what a minute's sample brings (today's amount grew); for comparison also every day changed.
//
// "Full render" builds the page (graphs, themes, plots, the month's series) once, outside the
// timed loop. Each iteration then marks every layer of both graphs as needing display and both
// graphs as needing layout (which re-lays out every layer below them), and lays out and renders
// the page: every layer is drawn again into its (kept) backing store and all are composited.
//
//   bench_chart_render [benchmark options]   then prints the two ratios (goals: 1.5 and 0.5)
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "charts/FChartViewController.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "plot/cairo/CPTPangoTextMetrics.hpp"
#include "platform/Calendar.hpp"
#include "plot/cairo/CPTCairoRenderer.hpp"
#include "MedianReporter.hpp"

namespace {

using namespace quorvel;

constexpr double kWidth = 360;
constexpr double kHeight = 560;
constexpr double kScale = 2;

// `todayExtra` bytes more on the last day: what a minute's sample adds to the month.
std::shared_ptr<FTrafficDataInformation> monthSummary(std::uint64_t salt, std::uint64_t todayExtra = 0)
{
    auto m = std::make_shared<MonthTraffic>(*Calendar::date({2026, 3, 1, 9, 0, 0}), 2'000'000'000);
    m->setLastDate(*Calendar::date({2026, 3, 31, 9, 0, 0}));
    m->setDaysCount(31);
    for (int d = 1; d <= 31; ++d) {
        const auto bytes = static_cast<std::uint64_t>((20 + (d * 37 + salt) % 90) * 1'000'000) +
                           (d == 31 ? todayExtra : 0);
        m->bookDay(CTrafficPoint::trafficPointWithDate(*Calendar::date({2026, 3, d, 9, 0, 0}), bytes));
    }
    auto s = std::make_shared<FTrafficDataInformation>();
    s->setMonths(FTrafficDataInformation::Months{m});
    UsageFigures figures;
    figures.perDayLeft = 30'000'000;
    s->setFigures(figures);
    return s;
}

struct Surface {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(kWidth * kScale),
                                                          static_cast<int>(kHeight * kScale));
    ~Surface() { cairo_surface_destroy(surface); }
};

void renderPage(FChartViewController& page, cairo_surface_t* surface)
{
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, kScale, kScale);
    CPTCairoRenderer::renderHost(page.pchartView, cr);
    cairo_translate(cr, 0, page.pbarView.frame().origin.y);
    CPTCairoRenderer::renderHost(page.pbarView, cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
}

void BM_PageFullRender(benchmark::State& state)
{
    Surface s;
    FChartViewController page(FChartViewController::Idiom::Phone, CPTPangoTextMetrics::instance());
    page.setScreenScale(kScale);
    page.layoutInPage(kWidth, kHeight);
    page.updateInterface(monthSummary(0));
    renderPage(page, s.surface);
    for (auto _ : state) {
        for (const auto& graph : {page.graphChart, page.graphBar}) {
            graph->setNeedsDisplayInTree();
            graph->setNeedsLayout();
        }
        renderPage(page, s.surface);
    }
}

// The page as the chart tab first shows it: graphs built, laid out and drawn into new stores.
void BM_PageFreshRender(benchmark::State& state)
{
    Surface s;
    const auto summary = monthSummary(0);
    for (auto _ : state) {
        FChartViewController page(FChartViewController::Idiom::Phone, CPTPangoTextMetrics::instance());
        page.setScreenScale(kScale);
        page.layoutInPage(kWidth, kHeight);
        page.updateInterface(summary);
        renderPage(page, s.surface);
    }
}

// Redraws the page alternating between two summaries of the same scales.
void redrawAlternating(benchmark::State& state, const std::shared_ptr<FTrafficDataInformation>& a,
                       const std::shared_ptr<FTrafficDataInformation>& b)
{
    Surface s;
    FChartViewController page(FChartViewController::Idiom::Phone, CPTPangoTextMetrics::instance());
    page.setScreenScale(kScale);
    page.layoutInPage(kWidth, kHeight);
    page.updateInterface(a);
    renderPage(page, s.surface);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        page.updateInterface(flip ? b : a);
        renderPage(page, s.surface);
    }
}

// A minute's sample: today (the month's last day) grew by 1.5 MB.
void BM_PageRedrawAfterNewData(benchmark::State& state)
{
    redrawAlternating(state, monthSummary(0), monthSummary(0, 1'500'000));
}

// Every day's amount different at the same scales: no part of either plot stays.
void BM_PageRedrawEveryDayChanged(benchmark::State& state)
{
    redrawAlternating(state, monthSummary(0), monthSummary(11));
}

// The floor: what the page shows, drawn directly.
void text(cairo_t* cr, PangoFontDescription* font, const char* s, double x, double y)
{
    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, s, -1);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
}

void drawAxes(cairo_t* cr, PangoFontDescription* small, PangoFontDescription* label, double top, double bottom)
{
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 40, top);
    cairo_line_to(cr, 40, bottom);
    cairo_line_to(cr, 340, bottom);
    for (int i = 0; i < 7; ++i) {
        cairo_move_to(cr, 49 + 45.5 * i, bottom - 3.5);
        cairo_line_to(cr, 49 + 45.5 * i, bottom + 3.5);
    }
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.87, 0.87, 0.87);
    for (int i = 0; i < 7; ++i) {
        text(cr, label, std::to_string(1 + 5 * i).c_str(), 44 + 45.5 * i, bottom + 4);
        text(cr, label, std::to_string(20 * i).c_str(), 10, bottom - 35.0 * i - 8);
    }
    text(cr, small, "Days", 280, bottom + 14);
    cairo_save(cr);
    cairo_translate(cr, 8, (top + bottom) / 2);
    cairo_rotate(cr, -M_PI / 2);
    text(cr, small, "Traffic, MB", 0, 0);
    cairo_restore(cr);
}

void BM_FloorByHand(benchmark::State& state)
{
    Surface s;
    PangoFontDescription* title = pango_font_description_from_string("Sans 16");
    PangoFontDescription* label = pango_font_description_from_string("Sans 14");
    PangoFontDescription* small = pango_font_description_from_string("Sans 12");
    for (auto _ : state) {
        cairo_t* cr = cairo_create(s.surface);
        cairo_scale(cr, kScale, kScale);
        cairo_set_source_rgb(cr, 0.141, 0.149, 0.2);
        cairo_paint(cr);
        // Cumulative graph: area, line, symbols.
        cairo_move_to(cr, 49, 252);
        double total = 0;
        for (int d = 0; d < 31; ++d) {
            total += 20 + (d * 37) % 90;
            cairo_line_to(cr, 49 + 9.1 * d, 252 - total / 12.0);
        }
        cairo_line_to(cr, 49 + 9.1 * 30, 252);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.184, 0.208, 0.212);
        cairo_fill(cr);
        total = 0;
        for (int d = 0; d < 31; ++d) {
            total += 20 + (d * 37) % 90;
            cairo_line_to(cr, 49 + 9.1 * d, 252 - total / 12.0);
        }
        cairo_set_source_rgb(cr, 0.341, 0.471, 0.137);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        total = 0;
        for (int d = 0; d < 31; ++d) {
            total += 20 + (d * 37) % 90;
            cairo_arc(cr, 49 + 9.1 * d, 252 - total / 12.0, 3, 0, 2 * M_PI);
            cairo_set_source_rgb(cr, 0.533, 0.765, 0.153);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
        drawAxes(cr, small, label, 20, 252);
        // Daily graph: tubular gradient bars with outlines.
        for (int d = 0; d < 31; ++d) {
            const double x = 49 + 9.1 * d - 2.03;
            const double h = (20 + (d * 37) % 90) * 1.9;
            cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + 4.06, 0);
            cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.698, 0.082);
            cairo_pattern_add_color_stop_rgb(g, 1, 0.796, 0.918, 0.278);
            cairo_rectangle(cr, x, 530 - h, 4.06, h);
            cairo_set_source(cr, g);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(g);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
        drawAxes(cr, small, label, 300, 530);
        cairo_set_source_rgb(cr, 0.87, 0.87, 0.87);
        text(cr, title, "1 March - 31 March 2026\n1.67 GB used", 80, 20);
        text(cr, title, "Data Usage Daily\n1 March - 31 March 2026", 80, 300);
        cairo_destroy(cr);
        cairo_surface_flush(s.surface);
    }
    pango_font_description_free(title);
    pango_font_description_free(label);
    pango_font_description_free(small);
}

BENCHMARK(BM_FloorByHand)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageFullRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageFreshRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageRedrawAfterNewData)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageRedrawEveryDayChanged)->Unit(benchmark::kMicrosecond);


}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    quorvel::bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double floor = reporter.median("BM_FloorByHand");
    const double full = reporter.median("BM_PageFullRender");
    const double fresh = reporter.median("BM_PageFreshRender");
    const double redraw = reporter.median("BM_PageRedrawAfterNewData");
    const double everyDay = reporter.median("BM_PageRedrawEveryDayChanged");
    if (floor > 0 && full > 0) {
        std::printf("full render / floor: %.2f (goal <= 1.5)\n", full / floor);
        std::printf("redraw after new data / full render: %.2f (goal <= 0.5)\n", redraw / full);
        std::printf("redraw with every day changed / full render: %.2f\n", everyDay / full);
    }
    if (floor > 0 && fresh > 0) {
        std::printf("fresh page / floor: %.2f; redraw after new data / fresh page: %.2f\n", fresh / floor,
                    redraw / fresh);
    }
    benchmark::Shutdown();
    return 0;
}
