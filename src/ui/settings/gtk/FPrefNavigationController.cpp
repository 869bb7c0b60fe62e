// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefNavigationController.hpp"

#include "platform/Translation.hpp"

#include <adwaita.h>

#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/eventcontrollerlegacy.h>

#include "platform/Assert.hpp"
#include "ui/settings/gtk/FPrefStyle.hpp"

namespace quorvel {

namespace {
constexpr unsigned kMouseBackButton = 8;
}  // namespace

FPrefNavigationController::FPrefNavigationController(Gtk::Widget& root, std::string rootTitle)
    : root_(root), rootTitle_(std::move(rootTitle)), title_(Translation::tr(rootTitle_))
{
    FPrefStyle::install();
    box_.add_css_class("qv-pref-page");
    bar_.add_css_class("qv-navbar");
    title_.add_css_class("qv-navbar-title");
    title_.set_ellipsize(Pango::EllipsizeMode::END);
    back_.set_margin_start(6);
    back_.set_visible(false);
    back_.signal_clicked().connect([this] { pop(); });
    bar_.set_start_widget(back_);
    bar_.set_center_widget(title_);
    box_.append(bar_);

    GtkWidget* leaflet = adw_leaflet_new();
    leaflet_ = ADW_LEAFLET(leaflet);
    // Always one page at a time, like a phone's navigation; a swipe from the left edge goes back.
    adw_leaflet_set_can_unfold(leaflet_, FALSE);
    adw_leaflet_set_can_navigate_back(leaflet_, TRUE);
    adw_leaflet_set_transition_type(leaflet_, ADW_LEAFLET_TRANSITION_TYPE_SLIDE);
    gtk_widget_set_vexpand(leaflet, TRUE);
    gtk_widget_set_hexpand(leaflet, TRUE);
    adw_leaflet_append(leaflet_, root_.gobj());
    g_signal_connect(leaflet, "notify::visible-child", G_CALLBACK(&FPrefNavigationController::onVisibleChild), this);
    g_signal_connect(leaflet, "notify::child-transition-running",
                     G_CALLBACK(&FPrefNavigationController::onTransitionRunning), this);
    box_.append(*Gtk::manage(Glib::wrap(leaflet)));
    installBackControllers();
}

// In the capture phase: the keys and the mouse's back button reach us before the page below,
// whose web view would otherwise take them.
void FPrefNavigationController::installBackControllers()
{
    auto keys = Gtk::EventControllerKey::create();
    keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType state) {
            const auto modifiers = state & (Gdk::ModifierType::ALT_MASK | Gdk::ModifierType::CONTROL_MASK |
                                            Gdk::ModifierType::SHIFT_MASK | Gdk::ModifierType::SUPER_MASK);
            const bool alt = modifiers == Gdk::ModifierType::ALT_MASK;
            const bool plain = modifiers == Gdk::ModifierType{};
            const bool back = (alt && (key == GDK_KEY_Left || key == GDK_KEY_KP_Left)) ||
                              (plain && (key == GDK_KEY_Escape || key == GDK_KEY_Back));
            if (back && !pages_.empty()) {
                pop();
                return true;
            }
            return false;
        },
        false);
    box_.add_controller(keys);
    // A plain event controller, not a click gesture: a gesture would claim the pointer sequence
    // and could leave the next click on "Back" unseen.
    auto mouseBack = Gtk::EventControllerLegacy::create();
    mouseBack->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    mouseBack->signal_event().connect(
        [this](const Glib::RefPtr<const Gdk::Event>& event) {
            if (event->get_event_type() != Gdk::Event::Type::BUTTON_PRESS || event->get_button() != kMouseBackButton ||
                pages_.empty()) {
                return false;
            }
            pop();
            return true;
        },
        false);
    box_.add_controller(mouseBack);
}

FPrefNavigationController::~FPrefNavigationController()
{
    g_signal_handlers_disconnect_by_data(leaflet_, this);
    // The pages' widgets leave the leaflet before the pages go.
    for (const auto& page : pages_) {
        adw_leaflet_remove(leaflet_, page->widget().gobj());
    }
    releaseLeaving();
    adw_leaflet_remove(leaflet_, root_.gobj());
}

void FPrefNavigationController::push(std::unique_ptr<Page> page)
{
    QV_REQUIRE(page != nullptr, "push: hand over a page to show");
    adw_leaflet_append(leaflet_, page->widget().gobj());
    pages_.push_back(std::move(page));
    showTop();
}

void FPrefNavigationController::pop()
{
    if (pages_.empty()) {
        return;
    }
    leaving_.push_back(std::move(pages_.back()));
    pages_.pop_back();
    showTop();
    if (!adw_leaflet_get_child_transition_running(leaflet_)) {
        releaseLeaving();  // no animation: nothing to wait for
    }
}

void FPrefNavigationController::showTop()
{
    Page* page = top();
    GtkWidget* shown = page != nullptr ? page->widget().gobj() : root_.gobj();
    if (adw_leaflet_get_visible_child(leaflet_) != shown) {
        adw_leaflet_set_visible_child(leaflet_, shown);
    }
    title_.set_text(Translation::tr(page != nullptr ? page->title() : rootTitle_));
    back_.set_visible(page != nullptr);
    const bool hide = page != nullptr && page->hidesTabBar();
    if (hide != tabBarHidden_) {
        tabBarHidden_ = hide;
        if (onTabBarHidden) {
            onTabBarHidden(hide);
        }
    }
}

void FPrefNavigationController::followVisibleChild()
{
    GtkWidget* shown = adw_leaflet_get_visible_child(leaflet_);
    bool popped = false;
    while (!pages_.empty() && pages_.back()->widget().gobj() != shown) {
        leaving_.push_back(std::move(pages_.back()));
        pages_.pop_back();
        popped = true;
    }
    if (popped) {
        showTop();
    }
}

void FPrefNavigationController::onVisibleChild(GObject*, GParamSpec*, gpointer self)
{
    static_cast<FPrefNavigationController*>(self)->followVisibleChild();
}

void FPrefNavigationController::onTransitionRunning(GObject*, GParamSpec*, gpointer self)
{
    auto* controller = static_cast<FPrefNavigationController*>(self);
    if (!adw_leaflet_get_child_transition_running(controller->leaflet_)) {
        controller->releaseLeaving();
    }
}

void FPrefNavigationController::releaseLeaving()
{
    auto leaving = std::move(leaving_);
    leaving_.clear();
    for (const auto& page : leaving) {
        adw_leaflet_remove(leaflet_, page->widget().gobj());
    }
}

}  // namespace quorvel
