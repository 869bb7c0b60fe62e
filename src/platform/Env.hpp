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

// The platform services the model reaches: the application wires the real ones, tests their
// own. Not owned here; they outlive every model object.
struct Env {
    Clock& clock;
    CounterSource& counters;
    UptimeSource& uptime;
    NotificationCenter& center;
    UserDefaults& defaults;
    LocalNotifier& notifier;
    StoredFile& stateFile;
    BootIdSource& boot;
    NetworkDeviceDirectory& networkDevices;
};

}  // namespace quorvel
