#pragma once
// What the map screen's tests share: the services a screen is created with, places and usage
// summaries made by hand, and a window to show the screen in.
#include <adwaita.h>

#include <memory>
#include <optional>
#include <vector>

#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include "GuiTest.hpp"
#include "engine/CAppController.hpp"
#include "locations/gtk/LocationViewController.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "platform/BackgroundTasks.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/MainQueue.hpp"
#include "platform/SystemServices.hpp"

namespace quorvel::maptest {

using Deltas = std::vector<std::shared_ptr<DeltaTrafficItem>>;

// A place used `bytes` at `lat`, `lon`, last active on the given day of 2024.
inline std::shared_ptr<DeltaTrafficItem> place(double lat, double lon, std::int64_t bytes, int month = 3, int day = 5)
{
    auto d = std::make_shared<DeltaTrafficItem>();
    d->pLocation = Location{lat, lon, 10.0, Date{}};
    d->pDelta = bytes;
    d->pDateComp = DateComponents{2024, month, day, 14, 0, 0};
    return d;
}

inline std::shared_ptr<FTrafficDataInformation> summary(Deltas deltas, std::optional<TCResult> change = std::nullopt)
{
    auto s = std::make_shared<FTrafficDataInformation>();
    s->parrTrafficDeltas = std::move(deltas);
    s->pResultStruct = change;
    return s;
}

// The five places of the demonstration state, around Berlin.
inline Deltas berlin()
{
    return {place(52.5200, 13.4050, 1'450'000'000, 3, 14), place(52.5163, 13.3777, 320'000'000, 3, 14),
            place(52.5306, 13.3847, 48'000'000, 3, 13), place(52.5096, 13.3759, 2'500'000, 3, 13),
            place(52.4862, 13.4245, 6'000, 3, 12)};
}

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
