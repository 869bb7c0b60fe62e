// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AddonPack.hpp"

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"

namespace quorvel {

AddonPack::AddonPack(std::uint64_t size, LocalDay first, int days)
    : size_(size), first_(first), last_(first.plusDays(days - 1))
{
    QV_REQUIRE(size > 0 && days >= 1 && days <= kMaxDays, "a pack's size and days must be checked to be positive");
}

void AddonPack::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeUInt64("Size", size_);
    coder.encodeInt64("First", first_.key());
    coder.encodeInt64("Days", days());
}

AddonPack AddonPack::initWithCoder(ArchiveDecoder& coder)
{
    const std::optional<std::uint64_t> size = coder.decodeByteCount("Size");
    const std::optional<std::int64_t> first = coder.decodeInt64("First");
    const std::optional<std::int64_t> days = coder.decodeInt64("Days");
    const std::optional<LocalDay> from = first ? LocalDay::fromKey(static_cast<long>(*first)) : std::nullopt;
    if (!size || *size == 0 || !from || !days || *days < 1 || *days > kMaxDays) {
        coder.fail("Size", "a pack with a size, a first day and days");
    }
    return AddonPack(*size, *from, static_cast<int>(*days));
}

}  // namespace quorvel
