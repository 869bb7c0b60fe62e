// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
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
// with its unselected and selected picture, in the application's dark look. The tab bar, its
// names and shortcuts exist at once; a tab's screen is made the first time the tab is shown, so
// that the first frame waits only for the main screen. When the window's form changes, the
// screens are made anew in the new form, the tab that was shown at once.
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
    // The tab's screen, made now if it was not yet.
    TabScreen& screen(int index);
    // The tab's screen if it was made, else null.
    TabScreen* builtScreen(int index) const;
    // The screens made so far, in tab order.
    std::vector<TabScreen*> builtScreens() const;
    int selectedTab() const;
    void selectTab(int index);
    // Whether the tab bar shows; a page pushed over a screen may hide it while it is shown.
    bool tabBarRevealed() const;
    AdwViewSwitcherBar* tabBar() const { return bar_; }
    // The header bar's choice of the plan shown, when there is more than one.
    FPlanSwitcher& planSwitcher() { return switcher_; }

    // Loads the style sheet and the tab icons once per process.
    static void installStyle();

    // Called when a tab's screen was made (also anew for another form), so that it shows the
    // last summary at once.
    std::function<void(TabScreen&)> onScreenBuilt;

private:
    // A tab: its page in the stack, holding the screen once it is made.
    struct Tab {
        GtkWidget* holder = nullptr;     // owned by the stack
        AdwViewStackPage* page = nullptr;  // owned by the stack
        std::unique_ptr<TabScreen> screen;
    };
    std::unique_ptr<TabScreen> makeScreen(int index);
    void addPages();
    void focusMadePage(int index);
    void removePages();
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
    std::array<Tab, 4> tabs_;
    int shownTab_ = -1;
};

}  // namespace quorvel
