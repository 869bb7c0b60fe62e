// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/BackgroundCounting.hpp"

#include "platform/AutostartEntry.hpp"
#include "platform/Paths.hpp"
#include "platform/WatcherLauncher.hpp"

namespace quorvel {

BackgroundCounting::BackgroundCounting(const Paths& paths, std::filesystem::path program)
    : entry_(paths.autostartEntry), watchLock_(paths.watchLock), program_(std::move(program))
{
}

bool BackgroundCounting::on() const
{
    return AutostartEntry(entry_).present();
}

bool BackgroundCounting::setOn(bool on) const
{
    const AutostartEntry entry(entry_);
    if (!on) {
        return entry.remove();
    }
    if (!entry.install(program_)) {
        return false;
    }
    // Counting starts now, not only at the next login.
    WatcherLauncher::startIfNone(watchLock_, program_);
    return true;
}

}  // namespace quorvel
