// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the window's start-up (gui_startup.sh): a bare AdwApplicationWindow with a
// four-page view switcher bar, in a program of its own that links only libadwaita, so that it
// loads no more libraries than such a window needs. Prints "<milliseconds> <peak KiB>" after
// its first drawn frame, as gui_startup does.
#include <adwaita.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>

static double realtimeMs(void)
{
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return (double)now.tv_sec * 1e3 + (double)now.tv_nsec / 1e6;
}

// From the launch the driver noted (so that loading the libraries counts), else from main().
static double startMs;

static void onAfterPaint(GdkFrameClock* clock, gpointer app)
{
    const double ms = realtimeMs() - startMs;
    struct rusage usage = {0};
    getrusage(RUSAGE_SELF, &usage);
    printf("%.1f %ld\n", ms, usage.ru_maxrss);
    fflush(stdout);
    g_signal_handlers_disconnect_by_data(clock, app);
    g_application_quit(G_APPLICATION(app));
}

static void onRealize(GtkWidget* window, gpointer app)
{
    GdkFrameClock* clock = gdk_surface_get_frame_clock(gtk_native_get_surface(GTK_NATIVE(window)));
    g_signal_connect(clock, "after-paint", G_CALLBACK(onAfterPaint), app);
}

static void onActivate(GtkApplication* app, gpointer unused)
{
    (void)unused;
    GtkWidget* window = adw_application_window_new(app);
    gtk_window_set_default_size(GTK_WINDOW(window), 360, 720);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    GtkWidget* stack = adw_view_stack_new();
    gtk_widget_set_vexpand(stack, TRUE);
    const char* names[] = {"data", "chart", "locations", "settings"};
    for (size_t i = 0; i < G_N_ELEMENTS(names); ++i) {
        adw_view_stack_add_titled_with_icon(ADW_VIEW_STACK(stack), gtk_label_new(names[i]), names[i], names[i],
                                            "emblem-system-symbolic");
    }
    GtkWidget* bar = adw_view_switcher_bar_new();
    adw_view_switcher_bar_set_stack(ADW_VIEW_SWITCHER_BAR(bar), ADW_VIEW_STACK(stack));
    adw_view_switcher_bar_set_reveal(ADW_VIEW_SWITCHER_BAR(bar), TRUE);
    gtk_box_append(GTK_BOX(box), stack);
    gtk_box_append(GTK_BOX(box), bar);
    adw_application_window_set_content(ADW_APPLICATION_WINDOW(window), box);
    g_signal_connect(window, "realize", G_CALLBACK(onRealize), app);
    gtk_window_present(GTK_WINDOW(window));
}

int main(int argc, char** argv)
{
    const char* launch = getenv("QUORVEL_BENCH_LAUNCH_NS");
    startMs = launch != NULL ? (double)strtoll(launch, NULL, 10) / 1e6 : realtimeMs();
    AdwApplication* app = adw_application_new("org.quorvel.Bench.Bare", G_APPLICATION_NON_UNIQUE);
    g_signal_connect(app, "activate", G_CALLBACK(onActivate), NULL);
    const int status = g_application_run(G_APPLICATION(app), argc > 0 ? 1 : 0, argv);
    g_object_unref(app);
    return status;
}
