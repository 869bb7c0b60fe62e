// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include <gtkmm/box.h>

#include "ui/settings/gtk/FPrefNavigationController.hpp"

typedef struct _WebKitWebView WebKitWebView;

namespace quorvel {

// "Reference": the bundled reference page in a web view on the page's dark background, with
// the tab bar hidden while it is shown. Links that leave the page open in the user's browser.
// The web view comes from the module of ReferenceWebEngine, loaded when the page first opens, so
// that the window starts without WebKit. The bundle is served to the web content through a scheme
// of ours: "quorvel-resource:" + resource path.
class FPrefInfoViewController final : public FPrefNavigationController::Page {
public:
    static constexpr const char* kScheme = "quorvel-resource";
    static constexpr const char* kBundlePrefix = "/org/quorvel/Quorvel/";
    static constexpr const char* kPageUri = "quorvel-resource:///org/quorvel/Quorvel/t.html";

    FPrefInfoViewController();
    FPrefInfoViewController(const FPrefInfoViewController&) = delete;
    FPrefInfoViewController& operator=(const FPrefInfoViewController&) = delete;

    Gtk::Widget& widget() override { return box_; }
    std::string title() const override;
    bool hidesTabBar() const override { return true; }
    // The web view; null when the module could not be loaded (the page then says why).
    WebKitWebView* pwebView() const { return reinterpret_cast<WebKitWebView*>(webView_); }

private:
    GtkWidget* webView_ = nullptr;  // owned by box_
    Gtk::Box box_{Gtk::Orientation::VERTICAL};
};

}  // namespace quorvel
