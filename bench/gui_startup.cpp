// SPDX-License-Identifier: GPL-3.0-or-later
// Start to the first drawn frame, and peak resident memory at that frame, of the Quorvel window
// on its main tab. Its floor, a bare libadwaita window, is a program of its own (gui_bare.c), so
// that it loads only the libraries such a window needs; the driver script `gui_startup.sh` runs
// both several times and prints the ratios.
//
//   gui_startup quorvel     prints "<milliseconds> <peak KiB>" after the first frame
#include <adwaita.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <gtkmm/application.h>
#include <gtkmm/window.h>

#include "shell/FAppDelegate.hpp"

namespace {

double realtimeMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// From the launch the driver noted (so that loading the libraries counts), else from here.
const double kStartMs = [] {
    const char* launch = std::getenv("QUORVEL_BENCH_LAUNCH_NS");
    return launch != nullptr ? static_cast<double>(std::strtoll(launch, nullptr, 10)) / 1e6 : realtimeMs();
}();

void onAfterPaint(GdkFrameClock* clock, gpointer app)
{
    const double ms = realtimeMs() - kStartMs;
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
    if (argc < 2 || std::strcmp(argv[1], "quorvel") != 0) {
        std::fprintf(stderr, "usage: gui_startup quorvel\n");
        return 2;
    }
    return runQuorvel(1, argv);
}
