// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefInfoViewController.hpp"

#include <gtk/gtk.h>

#include <utility>

#include <giomm/resource.h>

#include "platform/glib/GObjectHandle.hpp"
#include "ui/settings/PrefTexts.hpp"

namespace quorvel {

namespace {
constexpr const char* kBundlePrefix = "/org/quorvel/Quorvel/";
}  // namespace

void FPrefInfoViewController::registerScheme()
{
    static const bool registered = [] {
        webkit_web_context_register_uri_scheme(webkit_web_context_get_default(), kScheme, &serve, nullptr, nullptr);
        return true;
    }();
    (void)registered;
}

std::string FPrefInfoViewController::mimeTypeForPath(const std::string& path)
{
    static constexpr std::pair<const char*, const char*> kTypes[] = {
        {".html", "text/html"}, {".css", "text/css"}, {".png", "image/png"}, {".svg", "image/svg+xml"}};
    for (const auto& [extension, type] : kTypes) {
        if (path.ends_with(extension)) {
            return type;
        }
    }
    return "application/octet-stream";
}

void FPrefInfoViewController::serve(WebKitURISchemeRequest* request, gpointer)
{
    const std::string path = webkit_uri_scheme_request_get_path(request);
    Glib::RefPtr<const Glib::Bytes> bytes;
    // Only the application's own part of the bundle is served.
    if (path.starts_with(kBundlePrefix) && path.find("/../") == std::string::npos) {
        try {
            bytes = Gio::Resource::lookup_data_global(path);
        } catch (const Glib::Error&) {
            bytes.reset();
        }
    }
    if (!bytes) {
        GError* error = g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "No such page: %s", path.c_str());
        webkit_uri_scheme_request_finish_error(request, error);
        g_error_free(error);
        return;
    }
    const GObjectHandle<GInputStream> stream(
        g_memory_input_stream_new_from_bytes(const_cast<GBytes*>(bytes->gobj())));
    webkit_uri_scheme_request_finish(request, stream.get(), static_cast<gint64>(bytes->get_size()),
                                     mimeTypeForPath(path).c_str());
}

FPrefInfoViewController::FPrefInfoViewController()
{
    registerScheme();
    box_.add_css_class("qv-reference");
    GtkWidget* view = webkit_web_view_new();
    webView_ = WEBKIT_WEB_VIEW(view);
    // Clear, so that the page's own background or the dark page behind it shows, never white.
    const GdkRGBA clear{0, 0, 0, 0};
    webkit_web_view_set_background_color(webView_, &clear);
    gtk_widget_set_vexpand(view, TRUE);
    gtk_widget_set_hexpand(view, TRUE);
    g_signal_connect(view, "decide-policy", G_CALLBACK(&FPrefInfoViewController::decidePolicy), this);
    box_.append(*Gtk::manage(Glib::wrap(view)));
    webkit_web_view_load_uri(webView_, kPageUri);
}

FPrefInfoViewController::~FPrefInfoViewController()
{
    g_signal_handlers_disconnect_by_data(webView_, this);
}

std::string FPrefInfoViewController::title() const
{
    return PrefTexts::kTitleReference;
}

gboolean FPrefInfoViewController::decidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                               WebKitPolicyDecisionType type, gpointer)
{
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) {
        return FALSE;
    }
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (uri == nullptr || g_str_has_prefix(uri, kScheme) || g_str_has_prefix(uri, "about:")) {
        return FALSE;
    }
    // The reference page stays the only page here; anything else belongs in the browser.
    webkit_policy_decision_ignore(decision);
    GtkRoot* root = gtk_widget_get_root(GTK_WIDGET(view));
    gtk_show_uri(GTK_IS_WINDOW(root) ? GTK_WINDOW(root) : nullptr, uri, GDK_CURRENT_TIME);
    return TRUE;
}

}  // namespace quorvel
