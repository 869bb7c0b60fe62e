// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One application launch per test: a fresh set of files, the real delegate on a registered
// application, and helpers to answer the set-up and look at the window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <glib.h>
#include <adwaita.h>
#include <gtkmm/application.h>

#include "GuiTest.hpp"
#include "shell/FAppDelegate.hpp"
#include "platform/Paths.hpp"
#include "ui/dialog/gtk/CODialog.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel::guitest {

// Whether two phone-sized pictures differ below `top` (the header bar's own title follows the
// text scaling anyway).
inline bool differ(const Cairo::RefPtr<Cairo::ImageSurface>& a, const Cairo::RefPtr<Cairo::ImageSurface>& b, int top = 0)
{
    for (int y = top; y < 720; y += 3) {
        for (int x = 0; x < 360; x += 3) {
            const Rgb p = pixel(a, x, y), q = pixel(b, x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b) {
                return true;
            }
        }
    }
    return false;
}


// The tab bar's frame in the window.
inline graphene_rect_t tabBarBounds(FTabInterface& tabs)
{
    graphene_rect_t bounds{};
    if (!gtk_widget_compute_bounds(GTK_WIDGET(tabs.tabBar()), GTK_WIDGET(tabs.window().gobj()), &bounds)) {
        return graphene_rect_t{};
    }
    return bounds;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const Paths paths = Paths::fromEnvironment();
        std::error_code ec;
        for (const auto& f : {paths.stateFile, paths.defaultsFile}) {
            std::filesystem::remove(f, ec);
        }
        counters_ = std::filesystem::path(std::getenv("XDG_STATE_HOME")) / "counters";
        setCounters(0);
        ::setenv("QUORVEL_COUNTERS", counters_.c_str(), 1);
        ::setenv("QUORVEL_IDIOM", "phone", 1);
        UIDeviceVersion::setSystemVersionText("4.8.3");
    }
    void TearDown() override
    {
        if (app_) {
            for (Gtk::Window* w : app_->get_windows()) {
                w->hide();
            }
            settle(5);
        }
        delegate_.reset();
        app_.reset();
        ::unsetenv("QUORVEL_COUNTERS");
    }

    // A realistic state: a 2 GB plan from the 15th, three months of traffic, five places.
    // With "--sims", two SIMs of a dual-SIM phone with plans of their own besides.
    static void demoState(std::vector<const char*> options = {})
    {
        gchar* out = nullptr;
        gint status = 0;
        std::vector<const gchar*> argv = {QUORVEL_DEMO_STATE};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.push_back(nullptr);
        ASSERT_TRUE(g_spawn_sync(nullptr, const_cast<gchar**>(argv.data()), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr,
                                 &out, nullptr, &status, nullptr));
        g_free(out);
        ASSERT_EQ(status, 0);
    }
    void setCounters(unsigned long long bytes) const
    {
        std::ofstream(counters_) << "wwan0 " << bytes << " 0\n";
    }
    // Starts the application as a launch from the desktop does, without entering its loop.
    FAppDelegate& launch()
    {
        makeApplication();
        app_->register_application();
        app_->activate();
        settle(10);
        return *delegate_;
    }
    // A new application object for each launch: a registered one stays exported on the bus.
    void makeApplication()
    {
        static int launches = 0;
        app_ = Gtk::Application::create("org.quorvel.Quorvel.Test" + std::to_string(++launches),
                                        Gio::Application::Flags::NON_UNIQUE);
        delegate_ = std::make_unique<FAppDelegate>(app_);
    }
    // The title of the set-up prompt on screen (dialog-widget form), or "".
    std::string promptTitle() const
    {
        return delegate_->ownAlertView() ? delegate_->ownAlertView()->title() : std::string();
    }

    Glib::RefPtr<Gtk::Application> app_;
    std::unique_ptr<FAppDelegate> delegate_;
    std::filesystem::path counters_;
};

}  // namespace quorvel::guitest
