#include "model/InterfaceBaseline.hpp"

#include <limits>

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {

void InterfaceBaseline::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeString("Name", name);
    coder.encodeInt64("Index", index);
    coder.encodeUInt64("Received", received);
    coder.encodeUInt64("Sent", sent);
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
    b->received = coder.decodeUInt64("Received").value_or(0);
    b->sent = coder.decodeUInt64("Sent").value_or(0);
    return b;
}

}  // namespace quorvel
