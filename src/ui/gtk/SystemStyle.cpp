// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/gtk/SystemStyle.hpp"

#include <adwaita.h>

#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

#include "ui/gtk/ImageStore.hpp"

namespace quorvel {

namespace {

constexpr const char* kBase = "/org/quorvel/Quorvel/style.css";

// The variants, each above the sheets it amends; only the ones the style calls for are added.
struct Variant {
    const char* path;
    bool dark, highContrast;
    Glib::RefPtr<Gtk::CssProvider> provider;
    bool added = false;
};

Variant gVariants[] = {
    {"/org/quorvel/Quorvel/style-dark.css", true, false, {}},
    {"/org/quorvel/Quorvel/style-hc.css", false, true, {}},
    {"/org/quorvel/Quorvel/style-hc-dark.css", true, true, {}},
};

bool wanted(const Variant& v, bool dark, bool highContrast)
{
    return (!v.dark || dark) && (!v.highContrast || highContrast) && (v.dark || v.highContrast);
}

// Widgets that paint from the style's state (the dark pictures or the card colours) repaint even
// where their own style sheet values stay the same.
void redrawAll(GtkWidget* widget)
{
    gtk_widget_queue_draw(widget);
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child != nullptr;
         child = gtk_widget_get_next_sibling(child)) {
        redrawAll(child);
    }
}

void follow(GObject*, GParamSpec*, gpointer)
{
    const auto display = Gdk::Display::get_default();
    if (!display) {
        return;
    }
    const bool dark = SystemStyle::dark(), highContrast = SystemStyle::highContrast();
    int priority = GTK_STYLE_PROVIDER_PRIORITY_APPLICATION;
    for (Variant& v : gVariants) {
        ++priority;
        const bool want = wanted(v, dark, highContrast);
        if (want && !v.added) {
            Gtk::StyleContext::add_provider_for_display(display, v.provider, priority);
        } else if (!want && v.added) {
            Gtk::StyleContext::remove_provider_for_display(display, v.provider);
        }
        v.added = want;
    }
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w != nullptr; w = w->next) {
        redrawAll(GTK_WIDGET(w->data));
    }
    g_list_free(windows);
}

}  // namespace

void SystemStyle::install()
{
    static const bool installed = [] {
        const auto display = Gdk::Display::get_default();
        if (!display) {
            return false;
        }
        ImageStore::registerResources();
        auto base = Gtk::CssProvider::create();
        base->load_from_resource(kBase);
        Gtk::StyleContext::add_provider_for_display(display, base, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        for (Variant& v : gVariants) {
            v.provider = Gtk::CssProvider::create();
            v.provider->load_from_resource(v.path);
        }
        AdwStyleManager* manager = adw_style_manager_get_default();
        g_signal_connect(manager, "notify::dark", G_CALLBACK(follow), nullptr);
        g_signal_connect(manager, "notify::high-contrast", G_CALLBACK(follow), nullptr);
        follow(nullptr, nullptr, nullptr);
        return true;
    }();
    (void)installed;
}

bool SystemStyle::dark()
{
    return adw_style_manager_get_dark(adw_style_manager_get_default()) != FALSE;
}

bool SystemStyle::highContrast()
{
    return adw_style_manager_get_high_contrast(adw_style_manager_get_default()) != FALSE;
}

}  // namespace quorvel
