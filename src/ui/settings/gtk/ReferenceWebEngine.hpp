// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtk/gtk.h>

namespace quorvel {

// The web engine behind the reference page. WebKitGTK and its libraries cost the window tens of
// milliseconds and megabytes at every start, for a page few open, so it lives in a module of its
// own (quorvel-reference.so) that the page loads the first time it opens.
class ReferenceWebEngine {
public:
    virtual ~ReferenceWebEngine() = default;
    // A new web view on a clear background, showing `uri`. Pages of the scheme `scheme` are
    // served from the program's resource bundle, only below `bundlePrefix`; links that leave
    // the page open in the user's browser. The caller takes the floating reference.
    virtual GtkWidget* newView(const char* scheme, const char* bundlePrefix, const char* uri) = 0;
};

using ReferenceWebEngineEntry = ReferenceWebEngine* (*)();
inline constexpr const char* kReferenceWebModuleFile = "quorvel-reference.so";
inline constexpr const char* kReferenceWebEngineEntry = "quorvel_reference_web_engine";

}  // namespace quorvel
