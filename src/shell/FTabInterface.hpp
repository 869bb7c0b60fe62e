// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtkmm/application.h>
#include <gtkmm/box.h>
#include <gtkmm/scrolledwindow.h>

#include "shell/FFormWindow.hpp"
#include "ui/main/gtk/FPlanSwitcher.hpp"
#include "shell/FPrimaryMenu.hpp"
#include "shell/FWindowSizeMemory.hpp"

#include "ui/ScreenContext.hpp"
#include "ui/TabScreen.hpp"

typedef struct _AdwViewStack AdwViewStack;
typedef struct _AdwViewStackPage AdwViewStackPage;
typedef struct _AdwViewSwitcherBar AdwViewSwitcherBar;

namespace quorvel {

// The application window with its four tabs at the bottom (main, charts, map, settings), each
// with its unselected and selected picture, in the application's dark look. When the window's
// form changes, the four screens are made anew in the new form on the tab that was shown.
class FTabInterface {
public:
    // The tab images as icon names of the bundle (their pictures "network", "network_a", ...):
    // unselected, then selected.
    struct TabImages {
        const char* normal;
        const char* selected;
    };
    static constexpr TabImages kTabImages[4] = {{"quorvel-network", "quorvel-network_a"},
                                                {"quorvel-barchart", "quorvel-barchart_a"},
                                                {"quorvel-locations", "quorvel-locations_a"},
                                                {"quorvel-settings", "quorvel-settings_a"}};

    FTabInterface(Gtk::Application& app, ScreenContext& context);
    ~FTabInterface();
    FTabInterface(const FTabInterface&) = delete;
    FTabInterface& operator=(const FTabInterface&) = delete;

    FFormWindow& window() { return window_; }
    FPrimaryMenu& primaryMenu() { return menu_; }
    // The four screens in tab order.
    const std::vector<std::unique_ptr<TabScreen>>& screens() const { return screens_; }
    int selectedTab() const;
    void selectTab(int index);
    // Whether the tab bar shows; a page pushed over a screen may hide it while it is shown.
    bool tabBarRevealed() const;
    AdwViewSwitcherBar* tabBar() const { return bar_; }
    // The header bar's choice of the plan shown, when there is more than one.
    FPlanSwitcher& planSwitcher() { return switcher_; }

    // Loads the style sheet and the tab icons once per process.
    static void installStyle();

    // Called when the screens were made anew for another form, so that they get the last
    // summary again.
    std::function<void()> onScreensRebuilt;

private:
    void addScreens();
    void addScreen(std::unique_ptr<TabScreen> screen, int index);
    void removeScreens();
    void formChanged();
    void fitFrameToForm();
    static constexpr int kPhoneWidth = 360;
    void installShortcuts(Gtk::Application& app);

    ScreenContext& context_;
    FFormWindow window_;
    Gtk::Box content_;
    Gtk::ScrolledWindow frame_;  // holds content_: lets the larger form's window be narrowed at once
    FPlanSwitcher switcher_;
    FPrimaryMenu menu_;
    FWindowSizeMemory size_;
    AdwViewStack* stack_ = nullptr;  // owned by content_
    AdwViewSwitcherBar* bar_ = nullptr;  // owned by content_
    std::vector<AdwViewStackPage*> pages_;
    std::vector<std::unique_ptr<TabScreen>> screens_;
    int shownTab_ = -1;
};

}  // namespace quorvel
