// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <vector>

#include <gtkmm/label.h>
#include <gtkmm/overlay.h>
#include <shumate/shumate.h>

#include "platform/Translation.hpp"
#include "locations/gtk/MapGraticule.hpp"
#include "locations/MapRegion.hpp"
#include "locations/gtk/MarkerView.hpp"
#include "locations/TilePolicy.hpp"
#include "platform/glib/NetworkCost.hpp"
#include "ui/ScreenContext.hpp"
#include "ui/TabScreen.hpp"
#include "model/SharedSummary.hpp"

namespace quorvel {

// Tab screen "Locations": an OpenStreetMap map with one pin per place where data was used,
// coloured by the amount, each with a callout. It keeps the pins in step with the latest usage
// summary, applying the summary's change record where it can and rebuilding when told to. The
// map centres on the places once; after that only the user moves it.
class LocationViewController final : public TabScreen {
public:
    explicit LocationViewController(ScreenContext& context);
    ~LocationViewController() override;
    LocationViewController(const LocationViewController&) = delete;
    LocationViewController& operator=(const LocationViewController&) = delete;

    Gtk::Widget& widget() override { return root_; }
    static constexpr const char* kTitle = N_("Locations");
    std::string title() const override { return kTitle; }
    void updateInterface(const SharedSummary& summary) override;
    // The setting may have changed on the settings tab.
    void viewWillAppear() override { applyTilePolicy(); }
    // Loads tiles, or leaves them out and says why (the decision is the policy's).
    void applyTilePolicy();
    TilePolicy::Decision tileDecision() const { return tileDecision_; }
    const Gtk::Label& tileNote() const { return tileNote_; }
    void onResetLocationsHandler(const void* sender) override;

    void updateControls();
    void reinitAllAnnotations();
    // Centres the map on the held summary's places as soon as the map has a size.
    void initMapViewCenter();
    // Adds the place's marker; a place that has one already gets it replaced instead.
    MarkerView& addTheAnnotationForDelta(const std::shared_ptr<DeltaTrafficItem>& delta);
    // The marker of that very place (identity, not equal contents), or none.
    MarkerView* findTheAnnotationForDelta(const std::shared_ptr<DeltaTrafficItem>& delta) const;
    void removeTheAnnotationForDelta(const std::shared_ptr<DeltaTrafficItem>& delta);

    const SharedSummary& shownSummary() const { return shownSummary_; }
    // The markers in the order they were added.
    const std::vector<std::unique_ptr<MarkerView>>& annotations() const { return markers_; }
    // How many markers the map itself holds (always the same as annotations()).
    std::size_t markerCountOnMap() const;
    ShumateSimpleMap* mapView() const { return mpView_; }
    ShumateViewport* viewport() const;

    // Room kept free around the places when centring: half a pin at the sides, a pin and the
    // scale and zoom buttons at the top, the attribution at the bottom.
    static constexpr double kFitInsetSide = 24.0;
    static constexpr double kFitInsetTop = 80.0;
    static constexpr double kFitInsetBottom = 40.0;

private:
    void scheduleCentring();
    static gboolean onTick(GtkWidget* widget, GdkFrameClock* clock, gpointer self);
    void showRegion(const MapRegion& region);
    void replaceTheAnnotationForDelta(const std::shared_ptr<DeltaTrafficItem>& delta);
    const std::vector<std::shared_ptr<DeltaTrafficItem>>* deltas() const;

    ScreenContext& context_;
    Gtk::Overlay root_;
    Gtk::Label tileNote_;
    NetworkCost network_;
    TilePolicy::Decision tileDecision_ = TilePolicy::Decision::Load;
    ShumateSimpleMap* mpView_ = nullptr;     // owned by root_
    ShumateMarkerLayer* layer_ = nullptr;    // owned by the map
    std::unique_ptr<MapGraticule> graticule_;
    SharedSummary shownSummary_;
    std::vector<std::unique_ptr<MarkerView>> markers_;  // before the map goes, these go
    guint tickId_ = 0;
    bool centredOnPlaces_ = false;
    bool worldShown_ = false;
};

}  // namespace quorvel
