// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/gtk/FChartPageWidget.hpp"

#include <glibmm/main.h>
#include <gtkmm/adjustment.h>

#include "charts/ChartDescription.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "plot/cairo/CPTCairoRenderer.hpp"
#include "plot/cairo/CPTPangoTextMetrics.hpp"
#include "platform/Translation.hpp"
#include "ui/gtk/AccessibleText.hpp"

namespace quorvel {

FChartPageWidget::FChartPageWidget(FChartViewController::Idiom idiom)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0), controller_(makeController(idiom))
{
    add_css_class("qv-chart-page");
    set_hexpand(true);
    set_vexpand(true);
    host(chartArea_, controller_->pchartView);
    host(barArea_, controller_->pbarView);
    AccessibleText::name(chartArea_, "Total Traffic");
    AccessibleText::name(barArea_, "Traffic Usage");
    graphs_.append(chartArea_);
    graphs_.append(barArea_);
    scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    scroller_.set_child(graphs_);
    scroller_.set_hexpand(true);
    scroller_.set_vexpand(true);
    append(scroller_);
    scroller_.get_hadjustment()->signal_changed().connect(sigc::mem_fun(*this, &FChartPageWidget::fitGraphsToPage));
    scroller_.get_vadjustment()->signal_changed().connect(sigc::mem_fun(*this, &FChartPageWidget::fitGraphsToPage));
    signal_map().connect(sigc::mem_fun(*this, &FChartPageWidget::applyPending));
    property_scale_factor().signal_changed().connect(sigc::mem_fun(*this, &FChartPageWidget::screenScaleChanged));
    screenScaleChanged();
}

std::unique_ptr<FChartViewController> FChartPageWidget::makeController(FChartViewController::Idiom idiom)
{
    // Titles are placed from text measured as it will be drawn.
    return std::make_unique<FChartViewController>(idiom, CPTPangoTextMetrics::instance());
}

FChartPageWidget::~FChartPageWidget()
{
    pendingTurn_.disconnect();
    // The hosts outlive nothing that could still call them back.
    controller_->pchartView.setNeedsDisplayHandler({});
    controller_->pbarView.setNeedsDisplayHandler({});
}

namespace {

constexpr int kGraphWidth = 200, kGraphHeight = 160;  // each graph's least size

}  // namespace

// Called when the scroller's adjustments change, which they do with its size.
void FChartPageWidget::fitGraphsToPage()
{
    const int width = scroller_.get_width(), height = scroller_.get_height();
    if (width <= 0 || height <= 0) {
        return;
    }
    const bool sideBySide = height < 2 * kGraphHeight && width >= 2 * kGraphWidth;
    const auto wanted = sideBySide ? Gtk::Orientation::HORIZONTAL : Gtk::Orientation::VERTICAL;
    if (graphs_.get_orientation() != wanted && !pendingTurn_.connected()) {
        // Turned after this allocation: changing the layout inside it would lay out a stale tree.
        pendingTurn_ = Glib::signal_idle().connect([this, wanted] {
            graphs_.set_orientation(wanted);
            graphs_.set_homogeneous(wanted == Gtk::Orientation::HORIZONTAL);
            return false;
        });
    }
}

void FChartPageWidget::host(Gtk::DrawingArea& area, CPTGraphHostingView& view)
{
    area.set_hexpand(true);
    area.set_vexpand(true);
    area.set_size_request(kGraphWidth, kGraphHeight);
    area.signal_resize().connect([this, &view](int width, int height) {
        view.setFrame(CPTRect::make(0, 0, width, height));
        controller_->fitTitles();  // a title may wrap, and the plot area make room for it
    });
    area.set_draw_func([&view](const Cairo::RefPtr<Cairo::Context>& cr, int, int) {
        CPTCairoRenderer::renderHost(view, cr->cobj());
    });
    view.setNeedsDisplayHandler([&area] { area.queue_draw(); });
}

void FChartPageWidget::screenScaleChanged()
{
    controller_->setScreenScale(get_scale_factor());
}

void FChartPageWidget::updateInterface(const SharedSummary& summary)
{
    // Described at once: a screen reader may read a page that is not on screen.
    describe(summary);
    if (!get_mapped()) {
        pending_ = summary;
        return;
    }
    pending_.reset();
    controller_->updateInterface(summary);
}

// Both graphs draw the same month: the words of one serve for both.
void FChartPageWidget::describe(const SharedSummary& shown)
{
    const MonthTraffic* month = shown ? shown->getMonthItemInfoforMonth(controller_->tag) : nullptr;
    const std::string text = month != nullptr ? ChartDescription::of(*month) : _("No traffic recorded yet");
    AccessibleText::describe(chartArea_, text);
    AccessibleText::describe(barArea_, text);
}

void FChartPageWidget::applyPending()
{
    if (pending_) {
        const SharedSummary summary = std::move(pending_);
        pending_.reset();
        controller_->updateInterface(summary);
    }
}

}  // namespace quorvel
