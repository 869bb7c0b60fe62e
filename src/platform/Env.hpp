// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

class Clock;
class CounterSource;
class UptimeSource;
class NotificationCenter;
class UserDefaults;
class LocalNotifier;
class StoredFile;
class BootIdSource;
class NetworkDeviceDirectory;
class MobileDataSwitch;
class RoamingSource;
class SimCardDirectory;

// The platform services the model reaches: the application wires the real ones, tests their
// own. Not owned here; they outlive every model object.
struct Env {
    Env(Clock& clock, CounterSource& counters, UptimeSource& uptime, NotificationCenter& center,
        UserDefaults& defaults, LocalNotifier& notifier, StoredFile& stateFile, BootIdSource& boot,
        NetworkDeviceDirectory& networkDevices, MobileDataSwitch* mobileData = nullptr,
        RoamingSource* roaming = nullptr, SimCardDirectory* sims = nullptr)
        : clock(clock),
          counters(counters),
          uptime(uptime),
          center(center),
          defaults(defaults),
          notifier(notifier),
          stateFile(stateFile),
          boot(boot),
          networkDevices(networkDevices),
          mobileData(mobileData),
          roaming(roaming),
          sims(sims)
    {
    }
    Clock& clock;
    CounterSource& counters;
    UptimeSource& uptime;
    NotificationCenter& center;
    UserDefaults& defaults;
    LocalNotifier& notifier;
    StoredFile& stateFile;
    BootIdSource& boot;
    NetworkDeviceDirectory& networkDevices;
    // Absent: mobile data cannot be switched, and nothing is counted as roaming.
    MobileDataSwitch* mobileData;
    RoamingSource* roaming;
    // Absent: no SIM is known, and every byte is this device's.
    SimCardDirectory* sims;
};

}  // namespace quorvel
