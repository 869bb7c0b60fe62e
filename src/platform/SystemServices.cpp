// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemServices.hpp"

#include <cstdlib>

#include "platform/NetlinkCounterSource.hpp"

namespace quorvel {

namespace {
std::unique_ptr<CounterSource> counterSource()
{
    if (const char* file = std::getenv("QUORVEL_COUNTERS"); file != nullptr && *file != '\0') {
        return std::make_unique<FileCounterSource>(file);
    }
    return std::make_unique<NetlinkCounterSource>();
}

std::filesystem::path bootIdFile()
{
    const char* file = std::getenv("QUORVEL_BOOT_ID_FILE");
    return file != nullptr && *file != '\0' ? file : BootIdentity::kKernelFile;
}
}  // namespace

SystemServices::SystemServices(const Paths& paths, LocalNotifier& notifier,
                               UserDefaults::Validator defaultsValidator,
                               std::unique_ptr<NetworkDeviceDirectory> networkDevices,
                               std::unique_ptr<MobileDataSwitch> mobileData, std::unique_ptr<RoamingSource> roaming,
                               std::unique_ptr<SimCardDirectory> sims)
    : paths_(paths),
      counters_(std::make_unique<TailCounterSource>(counterSource())),
      defaults_(paths.defaultsFile, std::move(defaultsValidator)),
      stateFile_(paths.stateFile),
      boot_(bootIdFile()),
      networkDevices_(networkDevices ? std::move(networkDevices) : std::make_unique<NoNetworkDeviceDirectory>()),
      mobileData_(mobileData ? std::move(mobileData) : std::make_unique<NoMobileDataSwitch>()),
      roaming_(roaming ? std::move(roaming) : std::make_unique<NoRoamingSource>()),
      sims_(std::move(sims)),
      env_{clock_,     *counters_,       uptime_, center_, defaults_, notifier, stateFile_, boot_, *networkDevices_,
           mobileData_.get(), roaming_.get(), sims_.get()}
{
}

}  // namespace quorvel
