// SPDX-License-Identifier: GPL-3.0-or-later
// Start to the first drawn frame, and peak resident memory at that frame, of two programs in
// one binary so both load the same libraries: the Quorvel window on its main tab, and a bare
// libadwaita window with a four-page view switcher bar. Each run is its own process; the
// driver script `gui_startup.sh` runs both several times and prints the ratios.
//
//   gui_startup quorvel|bare     prints "<milliseconds> <peak KiB>" after the first frame
#include <adwaita.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include <gtkmm/application.h>
#include <gtkmm/window.h>

#include "shell/FAppDelegate.hpp"

namespace {

const auto kStart = std::chrono::steady_clock::now();

void onAfterPaint(GdkFrameClock* clock, gpointer app)
{
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - kStart).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.1f %ld\n", ms, usage.ru_maxrss);
    std::fflush(stdout);
    g_signal_handlers_disconnect_by_data(clock, app);
    static_cast<Gtk::Application*>(app)->quit();
}

// Reports at the first frame the window's surface paints, then quits.
void reportAfterFirstFrame(Gtk::Window& window, Gtk::Application& app)
{
    window.signal_realize().connect([&window, &app] {
        GdkFrameClock* clock = gdk_surface_get_frame_clock(window.get_surface()->gobj());
        g_signal_connect(clock, "after-paint", G_CALLBACK(onAfterPaint), &app);
    });
}

int runBare(int argc, char** argv)
{
    auto app = Gtk::Application::create("org.quorvel.Bench.Bare", Gio::Application::Flags::NON_UNIQUE);
    std::unique_ptr<Gtk::Window> window;
    app->signal_startup().connect([] { adw_init(); });
    app->signal_activate().connect([&] {
        window = std::make_unique<Gtk::Window>();
        window->set_default_size(360, 720);
        GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        GtkWidget* stack = adw_view_stack_new();
        gtk_widget_set_vexpand(stack, TRUE);
        for (const char* name : {"data", "chart", "locations", "settings"}) {
            adw_view_stack_add_titled_with_icon(ADW_VIEW_STACK(stack), gtk_label_new(name), name, name,
                                                "emblem-system-symbolic");
        }
        GtkWidget* bar = adw_view_switcher_bar_new();
        adw_view_switcher_bar_set_stack(ADW_VIEW_SWITCHER_BAR(bar), ADW_VIEW_STACK(stack));
        adw_view_switcher_bar_set_reveal(ADW_VIEW_SWITCHER_BAR(bar), TRUE);
        gtk_box_append(GTK_BOX(box), stack);
        gtk_box_append(GTK_BOX(box), bar);
        gtk_window_set_child(window->gobj(), box);
        app->add_window(*window);
        reportAfterFirstFrame(*window, *app);
        window->present();
    });
    return app->run(argc, argv);
}

int runQuorvel(int argc, char** argv)
{
    auto app = Gtk::Application::create("org.quorvel.Bench.Quorvel", Gio::Application::Flags::NON_UNIQUE);
    quorvel::FAppDelegate delegate(app);
    app->signal_window_added().connect(
        [&app](Gtk::Window* window) { reportAfterFirstFrame(*window, *app); });
    return app->run(argc, argv);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || (std::strcmp(argv[1], "bare") != 0 && std::strcmp(argv[1], "quorvel") != 0)) {
        std::fprintf(stderr, "usage: gui_startup quorvel|bare\n");
        return 2;
    }
    const bool bare = std::strcmp(argv[1], "bare") == 0;
    return bare ? runBare(1, argv) : runQuorvel(1, argv);
}
