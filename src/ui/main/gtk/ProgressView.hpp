// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include <gtkmm/drawingarea.h>
#include <pangomm/layout.h>

#include "ui/main/ProgressViewGeometry.hpp"

namespace quorvel {

// The usage gauge: a bar whose filled part shows the share of the plan used, a dotted marker
// with an arrow above and below for the share of the billing month passed, the percentage in or
// beside the filled part and the date under the marker. Drawn from seven pictures; it knows
// nothing of traffic: its owner gives it the two ratios and the two texts.
class ProgressView : public Gtk::DrawingArea {
public:
    // `minimumBar`: the least height of the bar in points; the view is never lower than the bar
    // and the room the arrows and the date need.
    explicit ProgressView(double minimumBar = 40);

    double dProgr() const { return dProgr_; }
    double dMarker() const { return dMarker_; }
    // A ratio may lie outside 0..1; it is kept as given and clamped only for drawing. The view
    // repaints only when a value actually changes.
    void setDProgr(double value);
    void setDMarker(double value);
    double dProgrNorm() const { return ProgressViewGeometry::norm(dProgr_); }
    double dMarkerNorm() const { return ProgressViewGeometry::norm(dMarker_); }

    const std::string& strProgrText() const { return strProgrText_; }
    const std::string& strMarkerText() const { return strMarkerText_; }
    // A text that changes is painted with the next repaint even when the ratios stay the same.
    void setStrProgrText(std::string text);
    void setStrMarkerText(std::string text);

    double getLeftMarg() const;
    double getRightMarg() const;
    double getVertMargin() const;
    ViewRect getProgressRect() const;
    ViewRect getFilledRect() const;
    void getTitleRectForMarker(ViewRect* left, ViewRect* right) const;

    // How many repaints the setters asked for (they ask only on a change).
    std::uint64_t redrawRequests() const { return redrawRequests_; }

private:
    ProgressViewGeometry::Margins margins() const;
    void setNeedsDisplay();
    void drawRect(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height);
    void drawImages(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height);
    void drawProgressText(const Cairo::RefPtr<Cairo::Context>& cr);
    void drawMarkerText(const Cairo::RefPtr<Cairo::Context>& cr, double height);
    Glib::RefPtr<Pango::Layout> layout(const std::string& text, bool bold);

    double dProgr_ = 0.32;
    double dMarker_ = 0.05;
    std::string strProgrText_ = "37%";
    std::string strMarkerText_ = "20, May";
    std::uint64_t redrawRequests_ = 0;
};

}  // namespace quorvel
