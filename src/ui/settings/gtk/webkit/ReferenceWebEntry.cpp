// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point of the reference page's web engine (see ui/settings/gtk/ReferenceWebEngine.hpp):
// the only code that links WebKitGTK.
#include <gio/gio.h>
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <cstring>
#include <string>

#include "ui/settings/gtk/ReferenceWebEngine.hpp"

namespace quorvel {

namespace {

// The MIME type the bundle's file of that path is served with.
const char* mimeTypeForPath(const std::string& path)
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

// The web content runs in processes of its own, which cannot see this program's resource bundle,
// so the bundle is served to them through the page's scheme.
class WebKitReferenceEngine final : public ReferenceWebEngine {
public:
    GtkWidget* newView(const char* scheme, const char* bundlePrefix, const char* uri) override
    {
        if (scheme_.empty()) {
            scheme_ = scheme;
            prefix_ = bundlePrefix;
            webkit_web_context_register_uri_scheme(webkit_web_context_get_default(), scheme, &serve, this, nullptr);
        }
        GtkWidget* view = webkit_web_view_new();
        WebKitWebView* web = WEBKIT_WEB_VIEW(view);
        // Clear, so that the page's own background or the dark page behind it shows, never white.
        const GdkRGBA clear{0, 0, 0, 0};
        webkit_web_view_set_background_color(web, &clear);
        g_signal_connect(view, "decide-policy", G_CALLBACK(&decidePolicy), this);
        webkit_web_view_load_uri(web, uri);
        return view;
    }

private:
    static void serve(WebKitURISchemeRequest* request, gpointer self)
    {
        const std::string& prefix = static_cast<WebKitReferenceEngine*>(self)->prefix_;
        const std::string path = webkit_uri_scheme_request_get_path(request);
        GBytes* bytes = nullptr;
        // Only the application's own part of the bundle is served.
        if (path.starts_with(prefix) && path.find("/../") == std::string::npos) {
            bytes = g_resources_lookup_data(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
        }
        if (bytes == nullptr) {
            GError* error = g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "No such page: %s", path.c_str());
            webkit_uri_scheme_request_finish_error(request, error);
            g_error_free(error);
            return;
        }
        GInputStream* stream = g_memory_input_stream_new_from_bytes(bytes);
        webkit_uri_scheme_request_finish(request, stream, static_cast<gint64>(g_bytes_get_size(bytes)),
                                         mimeTypeForPath(path));
        g_object_unref(stream);
        g_bytes_unref(bytes);
    }

    static gboolean decidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 gpointer self)
    {
        if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) {
            return FALSE;
        }
        WebKitNavigationAction* action =
            webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
        const std::string& scheme = static_cast<WebKitReferenceEngine*>(self)->scheme_;
        if (uri == nullptr || std::strncmp(uri, scheme.c_str(), scheme.size()) == 0 || g_str_has_prefix(uri, "about:")) {
            return FALSE;
        }
        // The reference page stays the only page here; anything else belongs in the browser.
        webkit_policy_decision_ignore(decision);
        GtkRoot* root = gtk_widget_get_root(GTK_WIDGET(view));
        gtk_show_uri(GTK_IS_WINDOW(root) ? GTK_WINDOW(root) : nullptr, uri, GDK_CURRENT_TIME);
        return TRUE;
    }

    std::string scheme_;
    std::string prefix_;
};

}  // namespace

}  // namespace quorvel

extern "C" __attribute__((visibility("default"))) quorvel::ReferenceWebEngine* quorvel_reference_web_engine()
{
    static quorvel::WebKitReferenceEngine engine;
    return &engine;
}
