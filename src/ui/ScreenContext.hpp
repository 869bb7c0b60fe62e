// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

namespace Gtk {
class Window;
}

namespace quorvel {

class AppActions;
class CPlanProtocol;
class Clock;
struct Paths;
class NotificationCenter;
class UserDefaults;

// What the shell hands every screen when it creates it. All references outlive the screens.
struct ScreenContext {
    NotificationCenter& center;    // "pmsgDataUsageWasChanged", "MonthPlanSettingWasChanged", ...
    UserDefaults& defaults;        // the alert switches' keys and the plan preference
    const CPlanProtocol& plan;     // the traffic manager, to read; changes go through the app
    AppActions& app;               // resets, switches and counted interfaces, under the one-writer lock
    const Clock& clock;
    std::function<Gtk::Window*()> window;  // the window prompts and alerts open over
    const Paths* paths = nullptr;          // the login entry and the watcher's lock; none: no switch
};

}  // namespace quorvel
