// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "platform/LocalNotifier.hpp"
#include "model/SharedSummary.hpp"

namespace quorvel {

// The window side of the application controller: what the life-cycle sequences call and what
// only a front end with screens can do. The command line has none.
class AppShell {
public:
    virtual ~AppShell() = default;

    virtual void createInterface() = 0;
    virtual void runFirstStartWizard() = 0;
    // The first-start set-up asked for again after it was left ("Not Now"); a shell that
    // cannot leave it ignores this.
    virtual void resumeFirstStart() {}
    virtual void showAutoSubscription() = 0;
    // A full summary for every screen that shows one, in tab order.
    virtual void updateTrafficInterface(const SharedSummary& summary) = 0;
    virtual void onResetLocationsHandler(const void* sender) = 0;
    virtual void onResetPrevMonthsInfoHandler(const void* sender) = 0;
    // A local notification received while running, or the one the program was launched from.
    virtual void didReceiveLocalNotification(const LocalNotification& notification, bool launchedFromIt) = 0;
    // A state or defaults file that cannot be read or saved; the window keeps running unsaved.
    // A shell without a window to say it in ignores it (the log line has said it already).
    virtual void showFileProblem(const std::string& /*reason*/) {}
};

}  // namespace quorvel
