// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DeltaTrafficItem.hpp"

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {

DeltaTrafficItem::DeltaTrafficItem(Date date, const std::optional<Location>& pinLoc, std::uint64_t nsz)
    : pLocation(pinLoc), pDelta(static_cast<std::int64_t>(nsz))
{
    setNewDate(date);
}

void DeltaTrafficItem::setNewDate(Date date)
{
    DateComponents c = Calendar::components(date);
    c.minute = 0;
    c.second = 0;
    pDateComp = c;
}

void DeltaTrafficItem::addTrafficDelta(std::uint64_t bytes)
{
    // Two's-complement wrap, as the stored signed amount plus an unsigned increment.
    pDelta = static_cast<std::int64_t>(static_cast<std::uint64_t>(delta()) + bytes);
}

void DeltaTrafficItem::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeHourComponents("pDateComp", pDateComp);
    coder.encodeLocation("pLocation", pLocation);
    coder.encodeInt64("pDelta", pDelta);
}

std::unique_ptr<DeltaTrafficItem> DeltaTrafficItem::initWithCoder(ArchiveDecoder& coder)
{
    auto d = std::make_unique<DeltaTrafficItem>();
    d->pDateComp = coder.decodeHourComponents("pDateComp");
    d->pLocation = coder.decodeLocation("pLocation");
    d->pDelta = coder.decodeInt64("pDelta");
    if (d->pDelta && (*d->pDelta < 0 || static_cast<std::uint64_t>(*d->pDelta) > ArchiveDecoder::kMaxByteCount)) {
        coder.fail("pDelta", "a count of bytes up to 2^53");  // a place's use is never negative
    }
    return d;
}

}  // namespace quorvel
