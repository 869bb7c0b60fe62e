// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtkmm/box.h>
#include <gtkmm/centerbox.h>
#include <gtkmm/label.h>

#include "ui/settings/gtk/FPrefBackButton.hpp"

typedef struct _AdwLeaflet AdwLeaflet;

namespace quorvel {

// The settings tab's own page stack under a black bar with the page title and, on pushed pages,
// the "Back" key. Pushed pages slide in from the right and are released once they have slid out
// again. Escape, Alt+Left, the mouse's back button and a swipe from the left edge go back too;
// they are caught before the page sees them, so a web page cannot swallow them.
class FPrefNavigationController {
public:
    class Page {
    public:
        virtual ~Page() = default;
        virtual Gtk::Widget& widget() = 0;
        virtual std::string title() const = 0;
        // Whether the shell's tab bar hides while the page is on top.
        virtual bool hidesTabBar() const { return false; }
    };

    // `root` stays owned by the caller and must outlive this controller.
    FPrefNavigationController(Gtk::Widget& root, std::string rootTitle);
    FPrefNavigationController(const FPrefNavigationController&) = delete;
    FPrefNavigationController& operator=(const FPrefNavigationController&) = delete;
    ~FPrefNavigationController();

    Gtk::Widget& widget() { return box_; }
    void push(std::unique_ptr<Page> page);
    void pop();
    // 1 while the root is shown.
    int depth() const { return static_cast<int>(pages_.size()) + 1; }
    // The pushed page on top; null at the root.
    Page* top() const { return pages_.empty() ? nullptr : pages_.back().get(); }
    std::string title() const { return title_.get_text(); }
    Gtk::Button& backButton() { return back_; }
    // Pages popped but still sliding out.
    int leavingCount() const { return static_cast<int>(leaving_.size()); }

    // Called with true when a page that hides the tab bar comes on top, false when it leaves.
    std::function<void(bool hidden)> onTabBarHidden;

private:
    void showTop();
    void releaseLeaving();
    void installBackControllers();
    // The leaflet went back by itself (a swipe): the pages above the shown one leave.
    void followVisibleChild();
    static void onVisibleChild(GObject* leaflet, GParamSpec* property, gpointer self);
    static void onTransitionRunning(GObject* leaflet, GParamSpec* property, gpointer self);

    Gtk::Widget& root_;
    std::string rootTitle_;
    std::vector<std::unique_ptr<Page>> pages_;
    std::vector<std::unique_ptr<Page>> leaving_;
    FPrefBackButton back_;
    Gtk::Label title_;
    Gtk::CenterBox bar_;
    AdwLeaflet* leaflet_ = nullptr;  // owned by box_
    Gtk::Box box_{Gtk::Orientation::VERTICAL};
    bool tabBarHidden_ = false;
};

}  // namespace quorvel
