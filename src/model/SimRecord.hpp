// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Date.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;

// A SIM the device has seen: what tells it apart (the ICCID, else the IMSI), what the user calls
// it, its provider and when it was last in a modem. The identifiers are kept in the state file
// only; everything shown to others uses `displayName()`.
class SimRecord {
public:
    static constexpr std::string_view kClassName = "SimRecord";
    static constexpr std::size_t kMaxNameLength = 64;

    // `iccid` or `imsi` must be given: the record is found by one of them.
    SimRecord(std::string iccid, std::string imsi, std::string operatorName);

    const std::string& key() const { return iccid_.empty() ? imsi_ : iccid_; }
    const std::string& iccid() const { return iccid_; }
    const std::string& imsi() const { return imsi_; }
    const std::string& name() const { return name_; }
    const std::string& operatorName() const { return operatorName_; }
    const std::optional<Date>& lastSeen() const { return lastSeen_; }
    bool setUp() const { return setUp_; }

    // The name, else the operator, else "SIM" with the last four digits of its key.
    std::string displayName() const;
    // The last four characters of the key, as a short way to tell SIMs apart.
    std::string shortKey() const;

    // Digits (an ICCID may end in the hex digit F), at most 22: what a modem reports for a SIM.
    static bool plausibleIdentifier(std::string_view id);
    // An empty name gives the record back its operator's name; longer ones are refused.
    static bool validName(std::string_view name);
    void rename(std::string name);
    // A sighting in a modem: the operator as the SIM tells it now, and when.
    void seen(const std::string& operatorName, Date when);
    void markSetUp() { setUp_ = true; }

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<SimRecord> initWithCoder(ArchiveDecoder& coder);

private:
    std::string iccid_;
    std::string imsi_;
    std::string name_;
    std::string operatorName_;
    std::optional<Date> lastSeen_;
    bool setUp_ = false;
};

}  // namespace quorvel
