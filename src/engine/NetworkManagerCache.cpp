#include "engine/NetworkManagerCache.hpp"

#include <algorithm>
#include <limits>

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {

namespace {

// The archived shapes of one link of the set and of one device of the answer.
struct LinkEntry {
    const std::pair<std::string, int>* link;
    std::string_view className() const { return "CachedLink"; }
    void encodeWithCoder(ArchiveEncoder& coder) const
    {
        coder.encodeString("Name", link->first);
        coder.encodeInt64("Index", link->second);
    }
};

struct DeviceEntry {
    const NetworkDevice* device;
    std::string_view className() const { return "CachedDevice"; }
    void encodeWithCoder(ArchiveEncoder& coder) const
    {
        coder.encodeString("Interface", device->interfaceName);
        coder.encodeUInt64("DeviceType", device->deviceType);
        coder.encodeUInt64("Metered", device->metered);
    }
};

std::optional<std::uint32_t> decodeUInt32(ArchiveDecoder& coder, std::string_view key)
{
    const std::optional<std::uint64_t> v = coder.decodeUInt64(key);
    if (v && *v > std::numeric_limits<std::uint32_t>::max()) {
        coder.fail(key, "a 32-bit number");
    }
    return v ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*v)) : std::nullopt;
}

}  // namespace

NetworkManagerCache::LinkSet NetworkManagerCache::linkSetOf(const std::vector<InterfaceCounters>& links)
{
    LinkSet set;
    set.reserve(links.size());
    for (const InterfaceCounters& l : links) {
        set.emplace_back(l.name, l.index);
    }
    std::sort(set.begin(), set.end());
    return set;
}

const std::optional<NetworkDeviceTable>& NetworkManagerCache::devicesFor(const std::vector<InterfaceCounters>& now,
                                                                         NetworkDeviceDirectory& directory)
{
    LinkSet set = linkSetOf(now);
    if (set != links) {
        devices = directory.devices();
        links = std::move(set);
    }
    return devices;
}

void NetworkManagerCache::encodeWithCoder(ArchiveEncoder& coder) const
{
    std::vector<LinkEntry> linkEntries;
    for (const auto& l : links) {
        linkEntries.push_back({&l});
    }
    coder.encodeObjects("Links", linkEntries);
    if (devices) {
        std::vector<DeviceEntry> deviceEntries;
        for (const NetworkDevice& d : *devices) {
            deviceEntries.push_back({&d});
        }
        coder.encodeObjects("Devices", deviceEntries);
    } else {
        coder.encodeObject<DeviceEntry>("Devices", nullptr);  // no list: NetworkManager did not answer
    }
}

std::unique_ptr<NetworkManagerCache> NetworkManagerCache::initWithCoder(ArchiveDecoder& coder)
{
    auto c = std::make_unique<NetworkManagerCache>();
    coder.decodeObjects("Links", [&](ArchiveDecoder& link) {
        std::string name = link.decodeString("Name").value_or("");  // in the order they were written
        const std::int64_t index = link.decodeInt64("Index").value_or(0);
        if (index < 0 || index > std::numeric_limits<int>::max()) {
            link.fail("Index", "an interface index");
        }
        c->links.emplace_back(std::move(name), static_cast<int>(index));
    });
    std::sort(c->links.begin(), c->links.end());
    NetworkDeviceTable table;
    const bool answered = coder.decodeObjects("Devices", [&](ArchiveDecoder& device) {
        table.push_back({device.decodeString("Interface").value_or(""), decodeUInt32(device, "DeviceType"),
                         decodeUInt32(device, "Metered")});
    });
    if (answered) {
        c->devices = std::move(table);
    }
    return c;
}

}  // namespace quorvel
