#include "ui/FPrefNavigationController.hpp"

#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/gestureclick.h>

#include "platform/Assert.hpp"
#include "ui/FPrefStyle.hpp"

namespace quorvel {

namespace {
constexpr unsigned kSlideMilliseconds = 250;
constexpr unsigned kMouseBackButton = 8;
}  // namespace

FPrefNavigationController::FPrefNavigationController(Gtk::Widget& root, std::string rootTitle)
    : root_(root), rootTitle_(std::move(rootTitle)), title_(rootTitle_)
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

    stack_.set_vexpand(true);
    stack_.set_hexpand(true);
    stack_.set_transition_duration(kSlideMilliseconds);
    stack_.add(root_);
    stack_.property_transition_running().signal_changed().connect([this] {
        if (!stack_.get_transition_running()) {
            releaseLeaving();
        }
    });
    box_.append(stack_);

    auto keys = Gtk::EventControllerKey::create();
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType state) {
            const bool alt = (state & Gdk::ModifierType::ALT_MASK) == Gdk::ModifierType::ALT_MASK;
            if (alt && key == GDK_KEY_Left && !pages_.empty()) {
                pop();
                return true;
            }
            return false;
        },
        false);
    box_.add_controller(keys);
    auto mouseBack = Gtk::GestureClick::create();
    mouseBack->set_button(kMouseBackButton);
    mouseBack->signal_pressed().connect([this](int, double, double) { pop(); });
    box_.add_controller(mouseBack);
}

FPrefNavigationController::~FPrefNavigationController()
{
    // The pages' widgets leave the stack before the pages go.
    for (const auto& page : pages_) {
        stack_.remove(page->widget());
    }
    releaseLeaving();
    stack_.remove(root_);
}

void FPrefNavigationController::push(std::unique_ptr<Page> page)
{
    QV_REQUIRE(page != nullptr, "push: hand over a page to show");
    stack_.add(page->widget());
    pages_.push_back(std::move(page));
    showTop(Gtk::StackTransitionType::SLIDE_LEFT);
}

void FPrefNavigationController::pop()
{
    if (pages_.empty()) {
        return;
    }
    leaving_.push_back(std::move(pages_.back()));
    pages_.pop_back();
    showTop(Gtk::StackTransitionType::SLIDE_RIGHT);
    if (!stack_.get_transition_running()) {
        releaseLeaving();  // no animation: nothing to wait for
    }
}

void FPrefNavigationController::showTop(Gtk::StackTransitionType transition)
{
    Page* page = top();
    stack_.set_transition_type(transition);
    stack_.set_visible_child(page != nullptr ? page->widget() : root_);
    title_.set_text(page != nullptr ? page->title() : rootTitle_);
    back_.set_visible(page != nullptr);
    const bool hide = page != nullptr && page->hidesTabBar();
    if (hide != tabBarHidden_) {
        tabBarHidden_ = hide;
        if (onTabBarHidden) {
            onTabBarHidden(hide);
        }
    }
}

void FPrefNavigationController::releaseLeaving()
{
    auto leaving = std::move(leaving_);
    leaving_.clear();
    for (const auto& page : leaving) {
        stack_.remove(page->widget());
    }
}

}  // namespace quorvel
