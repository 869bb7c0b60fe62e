// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen test needs: a controller with its traffic manager on temporary files, a screen
// context around it, a fixed "today", a window of a chosen size and a realistic summary.
#include <cmath>
#include <memory>

#include <gdkmm/frameclock.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include "DemoDays.hpp"
#include "GuiTest.hpp"
#include "TestEnv.hpp"
#include "engine/CAppController.hpp"
#include "model/DateDay.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "platform/Calendar.hpp"
#include "platform/BackgroundTasks.hpp"
#include "platform/MainQueue.hpp"
#include "ui/ScreenContext.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel::guitest {

// The C++ wrappers of GTK's objects, needed once before any gtkmm widget is made.
inline void initGtkmm()
{
    Gtk::init_gtkmm_internals();
}

class ScreenTestEnv {
public:
    ScreenTestEnv()
    {
        initGtkmm();
        t.clock.set(test::localDate(2026, 3, 5, 14));
        app->initPrefs();
        app->CreateTraffManager();
        context = std::make_unique<ScreenContext>(
            ScreenContext{t.center, *t.defaults, *app->pmodule(), *app, t.clock, [] { return nullptr; }});
    }

    // A 2 GB plan starting on the 15th and daily traffic from the first of the month two
    // months back up to today, between about 15 and 170 MB a day, heavier at weekends.
    std::shared_ptr<FTrafficDataInformation> demoSummary()
    {
        app->onResetPlanValue(2'000'000'000);
        app->onResetPlanStartDay(15);
        app->resetWizardFinished();
        app->withStateLock([&](CTrafficManager& m) {
            if (m.history().months().empty()) {  // asked again, it is the same demo
                test::bookDemoDays(m.history(), t.clock.now(), dayBytes);
            }
        });
        return app->doGetTrafficInfoTask(true);
    }

    test::TestEnv t;
    ManualQueue queue;
    NoBackgroundTasks tasks;
    std::unique_ptr<CAppController> app = std::make_unique<CAppController>(
        t.env, CAppController::Platform{queue, tasks, nullptr, nullptr, t.paths.stateLock, t.paths.debugLog}, nullptr);
    std::unique_ptr<ScreenContext> context;

private:
    static std::uint64_t dayBytes(int i)
    {
        const double wave = 0.5 + 0.5 * std::sin(i * 1.7) * std::cos(i * 0.31);
        const double weekend = (i % 7 == 5 || i % 7 == 6) ? 1.6 : 1.0;
        return static_cast<std::uint64_t>((15.0 + 85.0 * wave) * weekend * 1e6);
    }
};

// Sets the device idiom for the life of the object.
class ScopedIdiom {
public:
    explicit ScopedIdiom(UIDeviceVersion::Idiom idiom) : old_(UIDeviceVersion::idiom()) { UIDeviceVersion::setIdiom(idiom); }
    ~ScopedIdiom() { UIDeviceVersion::setIdiom(old_); }

private:
    UIDeviceVersion::Idiom old_;
};

// A window showing one widget at a fixed size, laid out and drawn.
class ShownIn {
public:
    ShownIn(Gtk::Widget& content, int width, int height)
    {
        window_.set_default_size(width, height);
        window_.set_child(content);
        window_.present();
        runUntil([&] { return content.get_width() == width && content.get_height() == height; });
        waitFrames(content);
    }
    ~ShownIn()
    {
        window_.unset_child();
        window_.destroy();
    }

private:
    Gtk::Window window_;
};

}  // namespace quorvel::guitest
