// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include <gtkmm/box.h>
#include <gtkmm/drawingarea.h>
#include <gtkmm/scrolledwindow.h>

#include "charts/FChartViewController.hpp"
#include "model/SharedSummary.hpp"

namespace quorvel {

// One page of the chart tab: a billing month's cumulative graph above its daily bar graph. The
// page's controller builds and updates both graphs; the page only hosts them in two drawing
// areas, telling each host its size and the screen's scale and painting it when it asks. In a
// window too low for both graphs one above the other (a phone in landscape) they stand side by
// side where the width allows, and the page scrolls only where it does not.
class FChartPageWidget final : public Gtk::Box {
public:
    explicit FChartPageWidget(FChartViewController::Idiom idiom);
    ~FChartPageWidget() override;
    FChartPageWidget(const FChartPageWidget&) = delete;
    FChartPageWidget& operator=(const FChartPageWidget&) = delete;

    FChartViewController& controller() { return *controller_; }
    // The month this page shows, as an index into the summary's billing months.
    int tag() const { return controller_->tag; }
    void setTag(int tag) { controller_->tag = tag; }
    // Applied at once while the page is mapped; otherwise kept, and applied when it is mapped,
    // so that the pages of a tab not shown build and draw nothing at every update.
    void updateInterface(const SharedSummary& summary);
    // What a screen reader says for the page's graphs: the month's figures.
    void describe(const SharedSummary& summary);
    bool hasPendingUpdate() const { return pending_ != nullptr; }

    Gtk::DrawingArea& chartArea() { return chartArea_; }
    Gtk::DrawingArea& barArea() { return barArea_; }

private:
    static std::unique_ptr<FChartViewController> makeController(FChartViewController::Idiom idiom);
    void host(Gtk::DrawingArea& area, CPTGraphHostingView& view);
    void screenScaleChanged();
    void applyPending();
    void fitGraphsToPage();

    std::unique_ptr<FChartViewController> controller_;
    Gtk::DrawingArea chartArea_;
    Gtk::DrawingArea barArea_;
    Gtk::Box graphs_{Gtk::Orientation::VERTICAL, 0};
    Gtk::ScrolledWindow scroller_;
    SharedSummary pending_;
    sigc::connection pendingTurn_;
};

}  // namespace quorvel
