// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include <gtkmm/box.h>
#include <gtkmm/drawingarea.h>
#include <gtkmm/scrolledwindow.h>

#include "charts/FYearChartViewController.hpp"
#include "model/SharedSummary.hpp"

namespace quorvel {

// The chart tab's year page: the last twelve months' bars in one drawing area. Like a month's
// page it applies a summary only while mapped, keeping the latest until then.
class FYearPageWidget final : public Gtk::Box {
public:
    FYearPageWidget();
    ~FYearPageWidget() override;
    FYearPageWidget(const FYearPageWidget&) = delete;
    FYearPageWidget& operator=(const FYearPageWidget&) = delete;

    FYearChartViewController& controller() { return controller_; }
    void updateInterface(const SharedSummary& summary);
    bool hasPendingUpdate() const { return pending_ != nullptr; }
    Gtk::DrawingArea& area() { return area_; }

private:
    void applyPending();

    FYearChartViewController controller_;
    Gtk::DrawingArea area_;
    Gtk::ScrolledWindow scroller_;
    SharedSummary pending_;
};

}  // namespace quorvel
