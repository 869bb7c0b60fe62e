// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/gtk/MarkerView.hpp"

#include <utility>

namespace quorvel {

MarkerView::MarkerView(ShumateMarkerLayer* layer, std::unique_ptr<PPAnnotation> annotation)
    : layer_(layer),
      marker_(SHUMATE_MARKER(g_object_ref_sink(shumate_marker_new()))),
      annotation_(std::move(annotation)),
      calloutBox_(Gtk::Orientation::VERTICAL, 2)
{
    title_.add_css_class("heading");
    title_.set_xalign(0.0f);
    subtitle_.add_css_class("caption");
    subtitle_.set_xalign(0.0f);
    calloutBox_.append(title_);
    calloutBox_.append(subtitle_);
    callout_.set_child(calloutBox_);
    callout_.set_position(Gtk::PositionType::TOP);
    callout_.add_css_class("quorvel-map-callout");

    button_.set_child(pin_);
    button_.set_popover(callout_);
    button_.set_has_frame(false);
    button_.add_css_class("quorvel-map-pin");
    button_.set_cursor("pointer");
    shumate_marker_set_child(marker_.get(), GTK_WIDGET(button_.gobj()));
    applyAnnotation();
    shumate_marker_layer_add_marker(layer_, marker_.get());
}

MarkerView::~MarkerView()
{
    if (gtk_widget_get_parent(GTK_WIDGET(marker_.get())) != nullptr) {
        shumate_marker_layer_remove_marker(layer_, marker_.get());
    }
    // Our widgets die with this object: let go of them before the marker's last reference does.
    button_.unset_popover();
    shumate_marker_set_child(marker_.get(), nullptr);
}

void MarkerView::setAnnotation(std::unique_ptr<PPAnnotation> annotation)
{
    annotation_ = std::move(annotation);
    applyAnnotation();
}

void MarkerView::applyAnnotation()
{
    const MapCoordinate& where = annotation_->coordinate();
    shumate_location_set_location(SHUMATE_LOCATION(marker_.get()), where.latitude, where.longitude);
    pin_.setPicture(annotation_->pinPictureName());
    // The layer centres the marker on the place; an empty band below the pin as tall as the pin
    // puts the picture's bottom edge there instead.
    button_.set_margin_bottom(static_cast<int>(pin_.get_content_height()));
    title_.set_text(annotation_->title());
    subtitle_.set_text(annotation_->subtitle());
    // Screen readers name the pin by its amount, as sighted users read its colour.
    gtk_accessible_update_property(GTK_ACCESSIBLE(button_.gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   annotation_->title().c_str(), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION,
                                   annotation_->subtitle().c_str(), -1);
}

}  // namespace quorvel
