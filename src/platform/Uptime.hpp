// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// Seconds since the machine booted, suspend included; it restarts at every boot, which is how
// a restart is recognised between two samples.
class UptimeSource {
public:
    virtual ~UptimeSource() = default;
    virtual double uptime() const = 0;
};

class BootClockUptime final : public UptimeSource {
public:
    double uptime() const override;
};

}  // namespace quorvel
