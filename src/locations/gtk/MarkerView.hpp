// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/menubutton.h>
#include <gtkmm/popover.h>
#include <shumate/shumate.h>

#include "locations/PPAnnotation.hpp"
#include "locations/gtk/PinView.hpp"
#include "platform/glib/GObjectHandle.hpp"

namespace quorvel {

// One marker on the map: the pin of a place with the bottom of its picture on the place, and a
// callout with the amount and the latest activity that opens when the pin is clicked.
class MarkerView {
public:
    // Puts a marker for the annotation on the layer; the layer must outlive the view.
    MarkerView(ShumateMarkerLayer* layer, std::unique_ptr<PPAnnotation> annotation);
    // Takes the marker off the layer again.
    ~MarkerView();
    MarkerView(const MarkerView&) = delete;
    MarkerView& operator=(const MarkerView&) = delete;

    const PPAnnotation& annotation() const { return *annotation_; }
    // Shows another record in the same marker: position, picture and callout follow, and an
    // open callout stays open with the new texts.
    void setAnnotation(std::unique_ptr<PPAnnotation> annotation);

    void showCallout() { button_.popup(); }
    Gtk::Popover& callout() { return callout_; }
    const PinView& pin() const { return pin_; }
    ShumateMarker* marker() const { return marker_.get(); }

private:
    void applyAnnotation();

    ShumateMarkerLayer* layer_;  // owned by the map
    GObjectHandle<ShumateMarker> marker_;
    std::unique_ptr<PPAnnotation> annotation_;
    Gtk::Label title_;
    Gtk::Label subtitle_;
    Gtk::Box calloutBox_;
    Gtk::Popover callout_;
    PinView pin_;
    Gtk::MenuButton button_;
};

}  // namespace quorvel
