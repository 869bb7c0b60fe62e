// SPDX-License-Identifier: GPL-3.0-or-later
// A full update delivered to the four tabs (main screen, chart pages, map, settings) against the
// central update alone, on the Quorvel window with a realistic state (three months of traffic,
// five places). Each iteration books new traffic, as a minute's sample does. The delivery is
// what the update costs the main loop before the next frame; painting follows with the frame.
//
//   tests/gui/support/virtual_display.py dbus-run-session -- env GDK_BACKEND=x11 GSK_RENDERER=cairo gui_update
//   (run with HOME and XDG_* pointing at a directory the benchmark may fill)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include <gtkmm/application.h>

#include "shell/FAppDelegate.hpp"
#include "MedianReporter.hpp"

namespace {

using namespace quorvel;

struct Window {
    Glib::RefPtr<Gtk::Application> app;
    std::unique_ptr<FAppDelegate> delegate;
    std::filesystem::path counters;
    unsigned long long total = 1000;

    void grow()
    {
        total += 4096;
        std::ofstream(counters) << "wwan0 " << total << " 0\n";
    }
};

Window& window()
{
    static Window w = [] {
        Window made;
        made.counters = std::filesystem::path(std::getenv("XDG_STATE_HOME")) / "bench-counters";
        made.grow();
        ::setenv("QUORVEL_COUNTERS", made.counters.c_str(), 1);
        made.app = Gtk::Application::create("org.quorvel.Bench.Update", Gio::Application::Flags::NON_UNIQUE);
        made.delegate = std::make_unique<FAppDelegate>(made.app);
        made.app->register_application();
        made.app->activate();
        for (int i = 0; i < 200; ++i) {
            g_main_context_iteration(nullptr, FALSE);
        }
        return made;
    }();
    return w;
}

void BM_CentralUpdate(benchmark::State& state)
{
    Window& w = window();
    for (auto _ : state) {
        w.grow();
        benchmark::DoNotOptimize(w.delegate->controller().pmodule()->updateTrafficInformation(true));
    }
}

void BM_UpdateDeliveredToTheTabs(benchmark::State& state)
{
    Window& w = window();
    for (auto _ : state) {
        w.grow();
        benchmark::DoNotOptimize(w.delegate->controller().doGetTrafficInfoTask(true));
    }
}

BENCHMARK(BM_CentralUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateDeliveredToTheTabs)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    gtk_init();
    // CPU time: what the main loop spends, without the waits of the display server.
    quorvel::bench::MedianReporter reporter(quorvel::bench::MedianReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double alone = reporter.median("BM_CentralUpdate");
    const double delivered = reporter.median("BM_UpdateDeliveredToTheTabs");
    if (alone > 0) {
        std::printf("delivered to the tabs / central update: %.2f (goal at most 3)\n", delivered / alone);
    }
    benchmark::Shutdown();
    return 0;
}
