// SPDX-License-Identifier: GPL-3.0-or-later
// This one libshumate header lacks C linkage for C++; it must come before shumate.h includes it.
extern "C" {
#include <shumate/shumate-user-agent.h>
}

#include "locations/gtk/LocationViewController.hpp"

#include "model/DefaultsKeys.hpp"
#include "platform/UserDefaults.hpp"

#include <algorithm>

#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

#include "model/FTrafficDataInformation.hpp"

namespace quorvel {

namespace {

// The pins are bare pictures, not buttons to look at; the callout gets a little air.
constexpr const char* kStyle = R"css(
menubutton.quorvel-map-pin > button {
  padding: 0; min-width: 0; min-height: 0; background: none; box-shadow: none; border-radius: 0;
}
popover.quorvel-map-callout > contents { padding: 8px 12px; }
label.quorvel-map-note { padding: 4px 10px; margin: 8px 56px; border-radius: 6px; background: rgba(0,0,0,0.6); color: white; }
)css";

void installStyleOnce()
{
    static bool installed = false;
    auto display = Gdk::Display::get_default();
    if (installed || !display) {
        return;
    }
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(kStyle);
    Gtk::StyleContext::add_provider_for_display(display, provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    installed = true;
}

// The map's own zoom buttons carry their words only as tooltips; screen readers get them as names.
void nameButtonsByTooltip(GtkWidget* widget)
{
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child != nullptr;
         child = gtk_widget_get_next_sibling(child)) {
        const char* tip = gtk_widget_get_tooltip_text(child);
        if (GTK_IS_BUTTON(child) && tip != nullptr) {
            gtk_accessible_update_property(GTK_ACCESSIBLE(child), GTK_ACCESSIBLE_PROPERTY_LABEL, tip, -1);
        }
        nameButtonsByTooltip(child);
    }
}

ShumateSimpleMap* createMap()
{
    auto* map = SHUMATE_SIMPLE_MAP(shumate_simple_map_new());
    GObjectHandle<ShumateMapSourceRegistry> registry(shumate_map_source_registry_new_with_defaults());
    // The map keeps its own reference to the source; the registry may go.
    if (ShumateMapSource* source = shumate_map_source_registry_get_by_id(registry.get(), SHUMATE_MAP_SOURCE_OSM_MAPNIK)) {
        shumate_simple_map_set_map_source(map, source);
    }
    // The attribution takes the bottom edge (two lines on a phone); the scale goes to the top
    // left, clear of it and of the zoom buttons at the top right.
    gtk_widget_set_valign(GTK_WIDGET(shumate_simple_map_get_scale(map)), GTK_ALIGN_START);
    gtk_widget_set_hexpand(GTK_WIDGET(map), TRUE);
    gtk_widget_set_vexpand(GTK_WIDGET(map), TRUE);
    nameButtonsByTooltip(GTK_WIDGET(map));
    return map;
}

}  // namespace

LocationViewController::LocationViewController(ScreenContext& context) : context_(context)
{
    installStyleOnce();
    // The tile servers ask every application to name itself.
    shumate_set_user_agent("Quorvel (org.quorvel.Quorvel)");
    mpView_ = createMap();
    ShumateViewport* view = shumate_simple_map_get_viewport(mpView_);
    layer_ = shumate_marker_layer_new(view);
    shumate_simple_map_add_overlay_layer(mpView_, SHUMATE_LAYER(layer_));
    graticule_ = std::make_unique<MapGraticule>(view);
    root_.set_child(*graticule_);
    gtk_overlay_add_overlay(root_.gobj(), GTK_WIDGET(mpView_));
    gtk_overlay_set_measure_overlay(root_.gobj(), GTK_WIDGET(mpView_), TRUE);
    tileNote_.add_css_class("quorvel-map-note");
    tileNote_.set_wrap(true);
    tileNote_.set_halign(Gtk::Align::CENTER);
    tileNote_.set_valign(Gtk::Align::START);
    tileNote_.set_visible(false);
    root_.add_overlay(tileNote_);
    network_.onChange([this] { applyTilePolicy(); });
    applyTilePolicy();
    root_.set_hexpand(true);
    root_.set_vexpand(true);
    scheduleCentring();
    updateControls();
}

LocationViewController::~LocationViewController()
{
    if (tickId_ != 0) {
        gtk_widget_remove_tick_callback(GTK_WIDGET(mpView_), tickId_);
    }
    markers_.clear();
    root_.unset_child();  // the ground goes before the overlay that holds it
}

// The tile layer is the map's only client of the network: hidden, it asks the servers for nothing
// (the file cache of the tile downloader shows the kept tiles when it is shown offline).
void LocationViewController::applyTilePolicy()
{
    const TilePolicy::Network network{network_.available(), network_.metered()};
    const bool allowed = context_.defaults.boolForKey(DefaultsKeys::kMapTilesOverMobile).value_or(false);
    tileDecision_ = TilePolicy::decide(network, allowed);
    GtkWidget* map = GTK_WIDGET(shumate_simple_map_get_map(mpView_));
    for (GtkWidget* child = gtk_widget_get_first_child(map); child != nullptr; child = gtk_widget_get_next_sibling(child)) {
        if (SHUMATE_IS_MAP_LAYER(child)) {
            gtk_widget_set_visible(child, tileDecision_ != TilePolicy::Decision::NotOverMobileData);
        }
    }
    const std::string note = Translation::tr(TilePolicy::reason(tileDecision_));
    tileNote_.set_text(note);
    tileNote_.set_visible(!note.empty());
}

void LocationViewController::updateInterface(const SharedSummary& summary)
{
    if (!summary) {
        return;
    }
    shownSummary_ = summary;
    updateControls();
    // An empty map has nothing to keep in view: the first places centre it.
    scheduleCentring();
}

void LocationViewController::onResetLocationsHandler(const void* /*sender*/)
{
    markers_.clear();
    // The summary is shared with the other screens: only the map's copy loses its deltas.
    if (shownSummary_ && shownSummary_->parrTrafficDeltas()) {
        auto copy = std::make_shared<FTrafficDataInformation>(*shownSummary_);
        copy->setLists(FTrafficDataInformation::Places{}, copy->parrTrafficMonthsItems());
        shownSummary_ = std::move(copy);
    }
}

void LocationViewController::updateControls()
{
    if (markers_.empty()) {
        reinitAllAnnotations();
        return;
    }
    if (!shownSummary_ || !shownSummary_->pResultStruct()) {
        return;
    }
    const TCResult& change = *shownSummary_->pResultStruct();
    if (change.bUpdateAllAnnotations) {
        reinitAllAnnotations();
        return;
    }
    if (change.pDAdded) {
        addTheAnnotationForDelta(change.pDAdded);
    }
    if (change.pDChanged) {
        replaceTheAnnotationForDelta(change.pDChanged);
    }
    if (change.pDRemoved) {
        removeTheAnnotationForDelta(change.pDRemoved);
    }
}

void LocationViewController::reinitAllAnnotations()
{
    markers_.clear();
    if (const auto* list = deltas()) {
        for (const auto& delta : *list) {
            if (delta) {
                addTheAnnotationForDelta(delta);
            }
        }
    }
}

MarkerView& LocationViewController::addTheAnnotationForDelta(const std::shared_ptr<DeltaTrafficItem>& delta)
{
    if (MarkerView* existing = findTheAnnotationForDelta(delta)) {
        existing->setAnnotation(PPAnnotation::forDelta(delta));
        return *existing;
    }
    markers_.push_back(std::make_unique<MarkerView>(layer_, PPAnnotation::forDelta(delta)));
    return *markers_.back();
}

void LocationViewController::replaceTheAnnotationForDelta(const std::shared_ptr<DeltaTrafficItem>& delta)
{
    // A new record in the same marker: the count stays, an open callout shows the new amount.
    addTheAnnotationForDelta(delta);
}

MarkerView* LocationViewController::findTheAnnotationForDelta(const std::shared_ptr<DeltaTrafficItem>& delta) const
{
    const auto it = std::find_if(markers_.begin(), markers_.end(), [&](const auto& marker) {
        return marker->annotation().pDeltaDataItem.get() == delta.get();
    });
    return it == markers_.end() ? nullptr : it->get();
}

void LocationViewController::removeTheAnnotationForDelta(const std::shared_ptr<DeltaTrafficItem>& delta)
{
    std::erase_if(markers_, [&](const auto& marker) { return marker->annotation().pDeltaDataItem.get() == delta.get(); });
}

std::size_t LocationViewController::markerCountOnMap() const
{
    GList* markers = shumate_marker_layer_get_markers(layer_);
    const std::size_t count = g_list_length(markers);
    g_list_free(markers);
    return count;
}

ShumateViewport* LocationViewController::viewport() const
{
    return shumate_simple_map_get_viewport(mpView_);
}

void LocationViewController::initMapViewCenter()
{
    const auto* list = deltas();
    if (const auto region = list ? MapRegion::forDeltas(*list) : std::nullopt) {
        showRegion(*region);
        centredOnPlaces_ = true;
    } else if (!worldShown_) {
        showRegion(MapRegion::world());
        worldShown_ = true;
    }
}

void LocationViewController::scheduleCentring()
{
    if (centredOnPlaces_ || tickId_ != 0) {
        return;
    }
    // Runs on the first frame the map is shown in, when it has its size; never while hidden.
    tickId_ = gtk_widget_add_tick_callback(GTK_WIDGET(mpView_), &LocationViewController::onTick, this, nullptr);
}

gboolean LocationViewController::onTick(GtkWidget* widget, GdkFrameClock* /*clock*/, gpointer self)
{
    if (gtk_widget_get_width(widget) <= 0 || gtk_widget_get_height(widget) <= 0) {
        return G_SOURCE_CONTINUE;
    }
    auto* screen = static_cast<LocationViewController*>(self);
    screen->tickId_ = 0;
    screen->initMapViewCenter();
    return G_SOURCE_REMOVE;
}

void LocationViewController::showRegion(const MapRegion& region)
{
    ShumateViewport* view = viewport();
    ShumateMapSource* source = shumate_simple_map_get_map_source(mpView_);
    const double tile = source ? shumate_map_source_get_tile_size(source) : 256.0;
    const double width = std::max(1.0, gtk_widget_get_width(GTK_WIDGET(mpView_)) - 2 * kFitInsetSide);
    const double height = std::max(1.0, gtk_widget_get_height(GTK_WIDGET(mpView_)) - kFitInsetTop - kFitInsetBottom);
    const double zoom = MapRegion::zoomToFit(region, width, height, tile, shumate_viewport_get_min_zoom_level(view),
                                             shumate_viewport_get_max_zoom_level(view));
    // The region's middle goes to the middle of the free room, below the middle of the map.
    const auto [lat, lon] = MapRegion::offsetBy(region.centerLatitude, region.centerLongitude, zoom, tile, 0.0,
                                                (kFitInsetBottom - kFitInsetTop) / 2);
    shumate_viewport_set_zoom_level(view, zoom);
    shumate_location_set_location(SHUMATE_LOCATION(view), lat, lon);
}

const std::vector<std::shared_ptr<DeltaTrafficItem>>* LocationViewController::deltas() const
{
    return shownSummary_ && shownSummary_->parrTrafficDeltas() ? &*shownSummary_->parrTrafficDeltas() : nullptr;
}

}  // namespace quorvel
