// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AddonPack.hpp"

#include "platform/Assert.hpp"

namespace quorvel {

AddonPack::AddonPack(std::uint64_t size, LocalDay first, int days)
    : size_(size), first_(first), last_(first.plusDays(days - 1))
{
    QV_REQUIRE(size > 0 && days >= 1 && days <= kMaxDays, "a pack's size and days must be checked to be positive");
}

}  // namespace quorvel
