// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "model/SharedSummary.hpp"

namespace Gtk {
class Widget;
}

namespace quorvel {

// One of the four tabs as the shell sees it: a widget, its title, and what the application
// controller tells every screen (a new summary, a reset) in tab order.
class TabScreen {
public:
    virtual ~TabScreen() = default;
    virtual Gtk::Widget& widget() = 0;
    virtual std::string title() const = 0;
    virtual void updateInterface(const SharedSummary& summary) { (void)summary; }
    virtual void onResetLocationsHandler(const void* sender) { (void)sender; }
    virtual void onResetPrevMonthsInfoHandler(const void* sender) { (void)sender; }
    // The tab is about to be shown / hidden; ignored by the tabs that draw nothing ahead.
    virtual void viewWillAppear() {}
    virtual void viewWillDisappear() {}
    // The shell's way to hide its tab bar while a page of the tab asks for the whole height.
    virtual void setTabBarHiddenHandler(std::function<void(bool hidden)> handler) { (void)handler; }
};

}  // namespace quorvel
