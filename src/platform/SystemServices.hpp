// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include "platform/BootIdentity.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/FileCounterSource.hpp"
#include "platform/InterfaceCounters.hpp"
#include "platform/MobileDataSwitch.hpp"
#include "platform/NetworkDevices.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/Paths.hpp"
#include "platform/RoamingSource.hpp"
#include "platform/SimCards.hpp"
#include "platform/StoredFile.hpp"
#include "platform/TailCounterSource.hpp"
#include "platform/Uptime.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel {

class LocalNotifier;

// The real platform services of one process, on the files of `paths`; the front end brings the
// way local notifications are shown. When QUORVEL_COUNTERS names a file, the interface counters
// are read from it instead of the kernel (see FileCounterSource); QUORVEL_BOOT_ID_FILE stands in
// for the kernel's boot identity the same way. The counters pass through a tail that a watcher of
// link changes fills with links that vanished before a sample.
class SystemServices {
public:
    // Without a directory of network devices, interfaces are chosen by the user and by name only;
    // without a switch mobile data stays as it is, and without a roaming source nothing is roaming.
    SystemServices(const Paths& paths, LocalNotifier& notifier, UserDefaults::Validator defaultsValidator = {},
                   std::unique_ptr<NetworkDeviceDirectory> networkDevices = nullptr,
                   std::unique_ptr<MobileDataSwitch> mobileData = nullptr,
                   std::unique_ptr<RoamingSource> roaming = nullptr,
                   std::unique_ptr<SimCardDirectory> sims = nullptr);
    SystemServices(const SystemServices&) = delete;
    SystemServices& operator=(const SystemServices&) = delete;

    const Env& env() const { return env_; }
    const Paths& paths() const { return paths_; }
    TailCounterSource& tail() { return *counters_; }

private:
    Paths paths_;
    SystemClock clock_;
    std::unique_ptr<TailCounterSource> counters_;
    BootClockUptime uptime_;
    NotificationCenter center_;
    UserDefaults defaults_;
    StoredFile stateFile_;
    BootIdentity boot_;
    std::unique_ptr<NetworkDeviceDirectory> networkDevices_;
    std::unique_ptr<MobileDataSwitch> mobileData_;
    std::unique_ptr<RoamingSource> roaming_;
    std::unique_ptr<SimCardDirectory> sims_;
    Env env_;
};

}  // namespace quorvel
