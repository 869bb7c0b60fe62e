// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "model/SimRecord.hpp"
#include "platform/Date.hpp"
#include "platform/SimCards.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;

// The SIMs this device has seen, in the order first seen, as the state file keeps them. Traffic
// with no known SIM belongs to "This device", which is not among them.
class KnownSims {
public:
    static constexpr std::size_t kMaxSims = 32;

    const std::vector<SimRecord>& records() const { return records_; }
    // Notes every SIM a modem reports now (a new one is added, not set up); whether anything
    // changed. SIMs with no usable identifier are passed over.
    bool see(const SimCardList& cards, Date when);
    // The list of everything known: the stored records, with the SIMs a modem reports now that
    // are not stored yet (as `see` would add them), without changing anything.
    std::vector<SimRecord> withSeen(const SimCardList& cards, Date when) const;
    void rename(std::size_t index, std::string name);
    void forget(std::size_t index);

    void encodeWithCoder(ArchiveEncoder& coder) const;
    // Reads the list stored under "pSims"; absent in older files: none.
    static KnownSims initWithCoder(ArchiveDecoder& coder);

private:
    SimRecord* find(const SimCard& card);
    static bool sameSim(const SimRecord& record, const SimCard& card);
    std::vector<SimRecord> records_;
};

}  // namespace quorvel
