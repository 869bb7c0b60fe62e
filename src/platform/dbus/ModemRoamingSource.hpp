// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/FollowedRoamingSource.hpp"
#include "platform/dbus/ModemRegistrationWatch.hpp"

namespace quorvel {

// Roaming and the operator's name as ModemManager reports them, followed through its signals
// (see ModemRegistrationWatch for the two ways of dispatching them).
class ModemRoamingSource final : public FollowedRoamingSource {
public:

    // nullptr (with `error` set) when the system bus cannot be reached.
    static std::unique_ptr<ModemRoamingSource> start(ModemRegistrationWatch::Dispatch dispatch,
                                                     std::string* error = nullptr);
    ModemRoamingSource(const ModemRoamingSource&) = delete;
    ModemRoamingSource& operator=(const ModemRoamingSource&) = delete;

    bool roamingSinceLastAsked() override;
    std::optional<std::string> operatorName() const override;
    ModemRegistrationWatch& watch() { return *watch_; }
    std::vector<pollfd> descriptors() override { return watch_->descriptors(); }
    void dispatch() override { watch_->dispatch(); }
    void setBeforeChange(Callback beforeChange) override { beforeChange_ = std::move(beforeChange); }
    void setAfterSimsChange(Callback afterSimsChange) override { afterSimsChange_ = std::move(afterSimsChange); }
    // Runs after every change, once the new state counts (a screen showing the operator).
    void setOnChanged(Callback onChanged) { onChanged_ = std::move(onChanged); }

private:
    ModemRoamingSource() = default;
    void changed();

    Callback beforeChange_;
    Callback onChanged_;
    Callback afterSimsChange_;
    std::unique_ptr<ModemRegistrationWatch> watch_;
    bool roamed_ = false;  // at any moment since the last question
};

}  // namespace quorvel
