// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the map screen's tests share: the services a screen is created with and a window to show
// the screen in (places and summaries made by hand are in MapPlaces.hpp).
#include <adwaita.h>

#include <memory>
#include <optional>
#include <vector>

#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include "GuiTest.hpp"
#include "MapPlaces.hpp"
#include "engine/CAppController.hpp"
#include "locations/gtk/LocationViewController.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "platform/BackgroundTasks.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/MainQueue.hpp"
#include "platform/SystemServices.hpp"

namespace quorvel::maptest {

struct SilentNotifier final : LocalNotifier {
    void presentLocalNotificationNow(const LocalNotification&) override {}
};

// A screen with real services on the test's temporary home, in the dark look.
class MapScreenTest : public ::testing::Test {
protected:
    MapScreenTest()
        : services_(Paths::fromEnvironment(), notifier_),
          app_(services_.env(), {queue_, tasks_, nullptr, nullptr, services_.paths().stateLock,
                                 services_.paths().debugLog},
               nullptr)
    {
        // The shared test main starts GTK through C; gtkmm's wrappers need their own start.
        Gtk::init_gtkmm_internals();
        adw_style_manager_set_color_scheme(adw_style_manager_get_default(), ADW_COLOR_SCHEME_FORCE_DARK);
        app_.initPrefs();
        app_.CreateTraffManager();
        context_ = std::make_unique<ScreenContext>(ScreenContext{services_.env().center, services_.env().defaults,
                                                                 *app_.pmodule(), app_, services_.env().clock,
                                                                 [] { return nullptr; }});
        screen_ = std::make_unique<LocationViewController>(*context_);
    }

    ~MapScreenTest() override
    {
        if (window_) {
            window_->unset_child();
        }
        screen_.reset();
    }

    // Shows the screen alone in a window of that size and waits until it is laid out.
    void show(int width, int height)
    {
        window_ = std::make_unique<Gtk::Window>();
        window_->set_default_size(width, height);
        window_->set_child(screen_->widget());
        window_->present();
        ASSERT_TRUE(guitest::runUntil([&] {
            return screen_->widget().get_width() == width && screen_->widget().get_height() == height;
        }));
        guitest::waitFrames(screen_->widget());
    }

    std::vector<std::string> markerTitles() const
    {
        std::vector<std::string> out;
        for (const auto& m : screen_->annotations()) {
            out.push_back(m->annotation().title());
        }
        return out;
    }

    SilentNotifier notifier_;
    SystemServices services_;
    ManualQueue queue_;
    NoBackgroundTasks tasks_;
    CAppController app_;
    std::unique_ptr<ScreenContext> context_;
    std::unique_ptr<LocationViewController> screen_;
    std::unique_ptr<Gtk::Window> window_;
};

}  // namespace quorvel::maptest
