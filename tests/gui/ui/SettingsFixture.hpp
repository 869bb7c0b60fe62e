// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real application controller over test files and fakes, a window of phone or tablet size,
// and value prompts that write down what they were opened with, for the settings and reset
// screens.
#include <gtest/gtest.h>

#include <adwaita.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include "GuiTest.hpp"
#include "TestEnv.hpp"
#include "engine/AppShell.hpp"
#include "engine/CAppController.hpp"
#include "platform/MainQueue.hpp"
#include "platform/glib/GObjectHandle.hpp"
#include "ui/dialog/gtk/PrefPrompts.hpp"
#include "ui/ScreenContext.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel::settingstest {

// What happened, in order: resets reported to the shell and updates queued by the controller.
struct EventLog {
    std::vector<std::string> events;
};

struct LoggingShell final : AppShell {
    explicit LoggingShell(EventLog& l) : log(l) {}
    void createInterface() override {}
    void runFirstStartWizard() override {}
    void showAutoSubscription() override {}
    void updateTrafficInterface(const SharedSummary&) override {}
    void onResetLocationsHandler(const void*) override { log.events.push_back("locations"); }
    void onResetPrevMonthsInfoHandler(const void*) override { log.events.push_back("previous months"); }
    void didReceiveLocalNotification(const LocalNotification&, bool) override {}
    EventLog& log;
};

struct LoggingQueue final : MainQueue {
    explicit LoggingQueue(EventLog& l) : log(l) {}
    void dispatchAsync(std::function<void()> block) override
    {
        log.events.push_back("update");
        queue.dispatchAsync(std::move(block));
    }
    EventLog& log;
    ManualQueue queue;
};

// Every prompt opened: "plan 2048000000", "day 15", "used 0".
struct PromptLog {
    std::vector<std::string> opened;
    PrefPrompts prompts()
    {
        return {[this](PromptTarget&, std::uint64_t v) { opened.push_back("plan " + std::to_string(v)); },
                [this](PromptTarget&, int v) { opened.push_back("day " + std::to_string(v)); },
                [this](PromptTarget&, std::uint64_t v) { opened.push_back("used " + std::to_string(v)); }};
    }
};

// The message dialog on screen, if any.
inline AdwMessageDialog* openMessageDialog()
{
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
        GObjectHandle<GObject> item(G_OBJECT(g_list_model_get_item(toplevels, i)));
        if (ADW_IS_MESSAGE_DIALOG(item.get()) && gtk_widget_get_visible(GTK_WIDGET(item.get()))) {
            return ADW_MESSAGE_DIALOG(item.get());
        }
    }
    return nullptr;
}

// Answers a message dialog as a click on one of its buttons does: the response, then closing.
inline void answer(AdwMessageDialog* dialog, const char* response)
{
    adw_message_dialog_response(dialog, response);
    gtk_window_close(GTK_WINDOW(dialog));
}

class SettingsFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Gtk::init_gtkmm_internals(); }
    void SetUp() override
    {
        adw_style_manager_set_color_scheme(adw_style_manager_get_default(), ADW_COLOR_SCHEME_FORCE_DARK);
        app->initPrefs();
        app->CreateTraffManager();
        app->resetWizardFinished();
        context = std::make_unique<ScreenContext>(
            ScreenContext{t.center, *t.defaults, *app->pmodule(), *app, t.clock, [this] { return window.get(); }, &t.paths});
    }
    void TearDown() override
    {
        // The window lets go of the screens' widgets before the screens go.
        window->unset_child();
        screens.clear();
        window.reset();
        guitest::settle(3);
        UIDeviceVersion::setIdiom(UIDeviceVersion::Idiom::Phone);
    }

    // Shows `content` in a window of that size and waits until it is laid out.
    void show(Gtk::Widget& content, int width, int height)
    {
        window->set_default_size(width, height);
        window->set_child(content);
        window->present();
        ASSERT_TRUE(guitest::runUntil([&] { return content.get_width() == width && content.get_height() == height; }));
        guitest::waitFrames(content);
    }

    // Places where data was used; the two calendar months before this one.
    void addPlaces(int count)
    {
        app->withStateLock([&](CTrafficManager& m) {
            for (int i = 0; i < count; ++i) {
                m.history().restorePlace(std::make_shared<DeltaTrafficItem>(
                    t.clock.now(), Location{52.5 + 0.01 * i, 13.4, 10.0, t.clock.now()}, 1'000'000));
            }
        });
    }
    void addPreviousMonths()
    {
        app->withStateLock([&](CTrafficManager& m) {
            m.history().createOrGetMonthItemForMonthNumber(-1);
            for (const Date day : {test::localDate(2026, 1, 5), test::localDate(2026, 2, 5)}) {
                m.history().addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(day, 0));
            }
        });
    }

    test::TestEnv t;
    EventLog log;
    LoggingQueue queue{log};
    NoBackgroundTasks tasks;
    LoggingShell shell{log};
    std::unique_ptr<CAppController> app = std::make_unique<CAppController>(
        t.env, CAppController::Platform{queue, tasks, nullptr, nullptr, t.paths.stateLock, t.paths.debugLog}, &shell);
    std::unique_ptr<Gtk::Window> window = std::make_unique<Gtk::Window>();
    std::unique_ptr<ScreenContext> context;
    PromptLog prompts;
    // Screens made by the tests, kept until the window has let go of them.
    std::vector<std::shared_ptr<void>> screens;

    template <class Screen, class... Args>
    Screen& make(Args&&... args)
    {
        auto screen = std::make_shared<Screen>(std::forward<Args>(args)...);
        screens.push_back(screen);
        return *screen;
    }
};

}  // namespace quorvel::settingstest
