// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/gtk/FYearPageWidget.hpp"

#include "plot/cairo/CPTCairoRenderer.hpp"
#include "plot/cairo/CPTPangoTextMetrics.hpp"

namespace quorvel {

FYearPageWidget::FYearPageWidget()
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0), controller_(CPTPangoTextMetrics::instance())
{
    add_css_class("qv-chart-page");
    set_hexpand(true);
    set_vexpand(true);
    area_.set_hexpand(true);
    area_.set_vexpand(true);
    area_.set_size_request(200, 160);
    area_.signal_resize().connect([this](int width, int height) { controller_.layoutInPage(width, height); });
    area_.set_draw_func([this](const Cairo::RefPtr<Cairo::Context>& cr, int, int) {
        CPTCairoRenderer::renderHost(controller_.view, cr->cobj());
    });
    controller_.view.setNeedsDisplayHandler([this] { area_.queue_draw(); });
    property_scale_factor().signal_changed().connect([this] { controller_.view.setScreenScale(get_scale_factor()); });
    controller_.view.setScreenScale(get_scale_factor());
    // In a window too low for the graph (a phone in landscape) the page scrolls.
    scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    scroller_.set_child(area_);
    scroller_.set_hexpand(true);
    scroller_.set_vexpand(true);
    append(scroller_);
    signal_map().connect(sigc::mem_fun(*this, &FYearPageWidget::applyPending));
}

FYearPageWidget::~FYearPageWidget()
{
    controller_.view.setNeedsDisplayHandler({});
}

void FYearPageWidget::updateInterface(const SharedSummary& summary)
{
    if (!get_mapped()) {
        pending_ = summary;
        return;
    }
    pending_.reset();
    controller_.updateInterface(summary);
}

void FYearPageWidget::applyPending()
{
    if (pending_) {
        const SharedSummary summary = std::move(pending_);
        pending_.reset();
        controller_.updateInterface(summary);
    }
}

}  // namespace quorvel
