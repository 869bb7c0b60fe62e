// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/InterfaceBaseline.hpp"

#include <limits>

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {

void InterfaceBaseline::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeString("Name", name);
    coder.encodeInt64("Index", index);
    if (measured) {
        coder.encodeUInt64("Received", received);
        coder.encodeUInt64("Sent", sent);
    } else {
        coder.encodeUInt64("Received", std::nullopt);
        coder.encodeUInt64("Sent", std::nullopt);
        coder.encodeBool("Measured", false);
    }
}

std::unique_ptr<InterfaceBaseline> InterfaceBaseline::initWithCoder(ArchiveDecoder& coder)
{
    auto b = std::make_unique<InterfaceBaseline>();
    b->name = coder.decodeString("Name").value_or("");
    const std::int64_t index = coder.decodeInt64("Index").value_or(0);
    if (index < 0 || index > std::numeric_limits<int>::max()) {
        coder.fail("Index", "an interface index");
    }
    b->index = static_cast<int>(index);
    const std::optional<std::uint64_t> received = coder.decodeUInt64("Received");
    const std::optional<std::uint64_t> sent = coder.decodeUInt64("Sent");
    b->measured = coder.decodeBool("Measured").value_or(true);  // older files measured every link
    if (b->measured && (!received || !sent)) {
        coder.fail("Received", "the counters of a measured interface");  // booking from 0 would count it whole
    }
    b->received = received.value_or(0);
    b->sent = sent.value_or(0);
    return b;
}

}  // namespace quorvel
