// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/KnownSims.hpp"

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"

namespace quorvel {

bool KnownSims::sameSim(const SimRecord& record, const SimCard& card)
{
    // The ICCID when both have one; a SIM that gave only its IMSI once is the same SIM later.
    if (!record.iccid().empty() && !card.iccid.empty()) {
        return record.iccid() == card.iccid;
    }
    return !record.imsi().empty() && record.imsi() == card.imsi;
}

SimRecord* KnownSims::find(const SimCard& card)
{
    for (SimRecord& r : records_) {
        if (sameSim(r, card)) {
            return &r;
        }
    }
    return nullptr;
}

bool KnownSims::see(const SimCardList& cards, Date when)
{
    bool changed = false;
    for (const SimCard& card : cards) {
        if (card.key().empty() || !SimRecord::plausibleIdentifier(card.iccid) ||
            !SimRecord::plausibleIdentifier(card.imsi)) {
            continue;
        }
        SimRecord* record = find(card);
        if (record == nullptr) {
            if (records_.size() >= kMaxSims) {
                continue;  // a modem cycling through fake identities must not grow the state
            }
            records_.emplace_back(card.iccid, card.imsi, card.operatorName);
            record = &records_.back();
        }
        record->seen(card.operatorName, when);
        changed = true;
    }
    return changed;
}

std::vector<SimRecord> KnownSims::withSeen(const SimCardList& cards, Date when) const
{
    KnownSims copy = *this;
    copy.see(cards, when);
    return copy.records_;
}

void KnownSims::rename(std::size_t index, std::string name)
{
    QV_REQUIRE(index < records_.size(), "renaming a SIM needs the index of a known one");
    records_[index].rename(std::move(name));
}

void KnownSims::forget(std::size_t index)
{
    QV_REQUIRE(index < records_.size(), "forgetting a SIM needs the index of a known one");
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
}

void KnownSims::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeObjects("pSims", records_);
}

KnownSims KnownSims::initWithCoder(ArchiveDecoder& coder)
{
    KnownSims sims;
    coder.decodeObjects("pSims", [&](ArchiveDecoder& entry) {
        if (sims.records_.size() >= kMaxSims) {
            entry.fail("pSims", "at most 32 SIMs");
        }
        SimRecord record = std::move(*SimRecord::initWithCoder(entry));
        for (const SimRecord& r : sims.records_) {
            if (r.key() == record.key()) {
                entry.fail("pSims", "each SIM once");
            }
        }
        sims.records_.push_back(std::move(record));
    });
    return sims;
}

}  // namespace quorvel
