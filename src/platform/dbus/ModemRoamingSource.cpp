// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/ModemRoamingSource.hpp"

namespace quorvel {

std::unique_ptr<ModemRoamingSource> ModemRoamingSource::start(ModemRegistrationWatch::Dispatch dispatch,
                                                              std::string* error)
{
    std::unique_ptr<ModemRoamingSource> source(new ModemRoamingSource());
    ModemRoamingSource* self = source.get();
    source->watch_ = ModemRegistrationWatch::start(dispatch, [self] { self->changed(); }, error);
    if (!source->watch_) {
        return nullptr;
    }
    source->roamed_ = source->watch_->roaming();
    return source;
}

void ModemRoamingSource::changed()
{
    if (beforeChange_) {
        beforeChange_();
    }
    roamed_ = roamed_ || watch_->roaming();
    if (watch_->takeSimsChanged() && afterSimsChange_) {
        afterSimsChange_();
    }
    if (onChanged_) {
        onChanged_();
    }
}

bool ModemRoamingSource::roamingSinceLastAsked()
{
    // Every change passed through changed(), so the latch already holds the state of now,
    // except inside beforeChange, where the new state must not count yet.
    const bool roamed = roamed_;
    roamed_ = watch_->roaming();
    return roamed;
}

std::optional<std::string> ModemRoamingSource::operatorName() const
{
    for (const ModemRegistration& modem : watch_->modems()) {
        if (modem.operatorName && !modem.operatorName->empty()) {
            return modem.operatorName;
        }
    }
    return std::nullopt;
}

}  // namespace quorvel
