// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SimRecord.hpp"

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"

namespace quorvel {

bool SimRecord::plausibleIdentifier(std::string_view id)
{
    if (id.size() > 22) {
        return false;
    }
    for (const char c : id) {
        if (!((c >= '0' && c <= '9') || c == 'F' || c == 'f')) {
            return false;
        }
    }
    return true;
}

SimRecord::SimRecord(std::string iccid, std::string imsi, std::string operatorName)
    : iccid_(std::move(iccid)), imsi_(std::move(imsi)), operatorName_(std::move(operatorName))
{
    QV_REQUIRE(!key().empty(), "a SIM record needs its ICCID or IMSI");
}

std::string SimRecord::shortKey() const
{
    const std::string& k = key();
    return k.size() <= 4 ? k : k.substr(k.size() - 4);
}

std::string SimRecord::displayName() const
{
    if (!name_.empty()) {
        return name_;
    }
    if (!operatorName_.empty()) {
        return operatorName_;
    }
    return "SIM " + shortKey();
}

bool SimRecord::validName(std::string_view name)
{
    if (name.size() > kMaxNameLength) {
        return false;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return false;  // a name is one line of text
        }
    }
    return true;
}

void SimRecord::rename(std::string name)
{
    QV_REQUIRE(validName(name), "a SIM's name is checked with validName before it is set");
    name_ = std::move(name);
}

void SimRecord::seen(const std::string& operatorName, Date when)
{
    if (!operatorName.empty()) {
        operatorName_ = operatorName;
    }
    lastSeen_ = when;
}

void SimRecord::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeString("Iccid", iccid_);
    coder.encodeString("Imsi", imsi_);
    coder.encodeString("Name", name_);
    coder.encodeString("Operator", operatorName_);
    coder.encodeDate("LastSeen", lastSeen_);
    coder.encodeBool("SetUp", setUp_);
}

std::unique_ptr<SimRecord> SimRecord::initWithCoder(ArchiveDecoder& coder)
{
    std::string iccid = coder.decodeString("Iccid").value_or("");
    std::string imsi = coder.decodeString("Imsi").value_or("");
    if ((iccid.empty() && imsi.empty()) || !plausibleIdentifier(iccid) || !plausibleIdentifier(imsi)) {
        coder.fail("Iccid", "a SIM's ICCID or IMSI, in digits");
    }
    auto sim = std::make_unique<SimRecord>(std::move(iccid), std::move(imsi), coder.decodeString("Operator").value_or(""));
    std::string name = coder.decodeString("Name").value_or("");
    if (!validName(name)) {
        coder.fail("Name", "a name of one line, at most 64 bytes");
    }
    sim->name_ = std::move(name);
    sim->lastSeen_ = coder.decodeDate("LastSeen");
    sim->setUp_ = coder.decodeBool("SetUp").value_or(false);
    return sim;
}

}  // namespace quorvel
