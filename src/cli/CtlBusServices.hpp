// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

namespace quorvel {

class FollowedLocationSource;
class FollowedRoamingSource;
class MobileDataSwitch;
class NetworkDeviceDirectory;
class RoamingSource;
class SimCardDirectory;

// The one place where the command line makes the services that reach NetworkManager and
// ModemManager over the system bus. They come from the bus module, loaded on first use: the
// directory and the switch load it when asked, and only a resident watcher follows ModemManager
// and GeoClue (when the machine has a system bus at all).
struct CtlBusServices {
    // A followed registration: the source the model asks, and the same object for the poll loop.
    struct Roaming {
        std::unique_ptr<RoamingSource> source;
        FollowedRoamingSource* modems = nullptr;
    };

    static std::unique_ptr<NetworkDeviceDirectory> networkDevices();
    static std::unique_ptr<MobileDataSwitch> mobileDataSwitch();
    static std::unique_ptr<SimCardDirectory> simCards();
    // Follows the modem's registration on a context of its own, for a poll loop. nullptr (with
    // `error` set) when the system bus is out of reach.
    static Roaming roamingWatch(std::string* error);
    // Follows GeoClue for the application's desktop id, for a poll loop. nullptr (with `error`
    // set) when the system bus is out of reach.
    static std::unique_ptr<FollowedLocationSource> locationWatch(std::string* error);
};

}  // namespace quorvel
