// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include <gtkmm/box.h>
#include <webkit/webkit.h>

#include "ui/settings/gtk/FPrefNavigationController.hpp"

namespace quorvel {

// "Reference": the bundled reference page in a web view on the page's dark background, with
// the tab bar hidden while it is shown. Links that leave the page open in the user's browser.
// The web content runs in processes of its own, which cannot see this program's resource bundle,
// so the bundle is served to them through a scheme of ours: "quorvel-resource:" + resource path.
class FPrefInfoViewController final : public FPrefNavigationController::Page {
public:
    static constexpr const char* kScheme = "quorvel-resource";
    static constexpr const char* kPagePath = "/org/quorvel/Quorvel/t.html";
    static constexpr const char* kPageUri = "quorvel-resource:///org/quorvel/Quorvel/t.html";

    FPrefInfoViewController();
    FPrefInfoViewController(const FPrefInfoViewController&) = delete;
    FPrefInfoViewController& operator=(const FPrefInfoViewController&) = delete;
    ~FPrefInfoViewController() override;

    Gtk::Widget& widget() override { return box_; }
    std::string title() const override;
    bool hidesTabBar() const override { return true; }
    WebKitWebView* pwebView() const { return webView_; }

    // The MIME type the bundle's file of that path is served with.
    static std::string mimeTypeForPath(const std::string& path);

private:
    static void registerScheme();
    static void serve(WebKitURISchemeRequest* request, gpointer unused);
    static gboolean decidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer self);

    WebKitWebView* webView_ = nullptr;  // owned by box_
    Gtk::Box box_{Gtk::Orientation::VERTICAL};
};

}  // namespace quorvel
