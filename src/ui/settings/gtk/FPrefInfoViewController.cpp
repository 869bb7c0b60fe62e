// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefInfoViewController.hpp"

#include <gtkmm/label.h>

#include "platform/LoadableModule.hpp"
#include "platform/Log.hpp"
#include "ui/settings/PrefTexts.hpp"
#include "ui/settings/gtk/ReferenceWebEngine.hpp"

namespace quorvel {

namespace {

struct LoadedEngine {
    ReferenceWebEngine* engine = nullptr;
    std::string failure;
};

// The web engine's module, loaded once, on the first open of the page.
const LoadedEngine& loadedEngine()
{
    static const LoadedEngine once = [] {
        LoadedEngine l;
        void* entry = LoadableModule::entryPoint(kReferenceWebModuleFile, kReferenceWebEngineEntry, l.failure);
        if (entry == nullptr) {
            Log::line("No reference page: " + l.failure);
        } else {
            l.engine = reinterpret_cast<ReferenceWebEngineEntry>(entry)();
        }
        return l;
    }();
    return once;
}

}  // namespace

FPrefInfoViewController::FPrefInfoViewController()
{
    box_.add_css_class("qv-reference");
    const LoadedEngine& loaded = loadedEngine();
    if (loaded.engine == nullptr) {
        auto* reason = Gtk::make_managed<Gtk::Label>(loaded.failure);
        reason->set_wrap(true);
        reason->set_vexpand(true);
        box_.append(*reason);
        return;
    }
    webView_ = loaded.engine->newView(kScheme, kBundlePrefix, kPageUri);
    gtk_widget_set_vexpand(webView_, TRUE);
    gtk_widget_set_hexpand(webView_, TRUE);
    box_.append(*Gtk::manage(Glib::wrap(webView_)));
}

std::string FPrefInfoViewController::title() const
{
    return PrefTexts::kTitleReference;
}

}  // namespace quorvel
