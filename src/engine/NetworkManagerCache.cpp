// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/NetworkManagerCache.hpp"

#include <algorithm>
#include <limits>

#include "model/InterfaceSelection.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {

namespace {

// The archived shape of one device of the answer.
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

std::uint64_t NetworkManagerCache::digestOf(const LinkSet& links)
{
    std::uint64_t h = 14695981039346656037ull;
    const auto mix = [&h](unsigned char byte) {
        h ^= byte;
        h *= 1099511628211ull;
    };
    for (const auto& [name, index] : links) {
        for (char c : name) {
            mix(static_cast<unsigned char>(c));
        }
        mix(0);
        for (int shift = 0; shift < 32; shift += 8) {
            mix(static_cast<unsigned char>(static_cast<unsigned>(index) >> shift));
        }
    }
    return h;
}

const std::optional<NetworkDeviceTable>& NetworkManagerCache::devicesFor(const std::vector<InterfaceCounters>& now,
                                                                         NetworkDeviceDirectory& directory)
{
    const std::uint64_t digest = digestOf(linkSetOf(now));
    if (digest != linksDigest) {
        devices = directory.devices();
        linksDigest = digest;
    }
    return devices;
}

namespace {

// A device that is no modem, not metered, of a known type and not named like a cellular link
// decides the same as no entry at all: such entries (containers' veths, bridges) are not stored.
bool decides(const NetworkDevice& d)
{
    constexpr std::uint32_t kModem = 8;
    const bool metered = d.metered == 1u || d.metered == 3u;
    return d.deviceType == kModem || metered || !d.deviceType || InterfaceSelection::hasCellularName(d.interfaceName);
}

}  // namespace

void NetworkManagerCache::encodeWithCoder(ArchiveEncoder& coder) const
{
    std::vector<DeviceEntry> deviceEntries;
    if (devices) {
        for (const NetworkDevice& d : *devices) {
            if (decides(d)) {
                deviceEntries.push_back({&d});
            }
        }
    }
    if (deviceEntries.size() > kMaxStoredDevices) {
        coder.encodeUInt64("LinksDigest", std::nullopt);  // too large to keep: asked again next time
        coder.encodeObject<DeviceEntry>("Devices", nullptr);
        return;
    }
    coder.encodeUInt64("LinksDigest", linksDigest);
    if (devices) {
        coder.encodeObjects("Devices", deviceEntries);
    } else {
        coder.encodeObject<DeviceEntry>("Devices", nullptr);  // no list: NetworkManager did not answer
    }
}

std::unique_ptr<NetworkManagerCache> NetworkManagerCache::initWithCoder(ArchiveDecoder& coder)
{
    auto c = std::make_unique<NetworkManagerCache>();
    LinkSet links;
    // Keyed files written before the digest list the links; a sequence holds the digest first.
    const bool listed = coder.allowsKeyedCoding() && coder.decodeObjects("Links", [&](ArchiveDecoder& link) {
        std::string name = link.decodeString("Name").value_or("");
        const std::int64_t index = link.decodeInt64("Index").value_or(0);
        if (index < 0 || index > std::numeric_limits<int>::max()) {
            link.fail("Index", "an interface index");
        }
        links.emplace_back(std::move(name), static_cast<int>(index));
    });
    std::sort(links.begin(), links.end());
    c->linksDigest = listed ? std::optional<std::uint64_t>(digestOf(links)) : coder.decodeUInt64("LinksDigest");
    NetworkDeviceTable table;
    const bool answered = coder.decodeObjects("Devices", [&](ArchiveDecoder& device) {
        table.push_back({device.decodeString("Interface").value_or(""), decodeUInt32(device, "DeviceType"),
                         decodeUInt32(device, "Metered")});
    });
    if (answered) {
        c->devices = std::move(table);
    }
    if (!c->linksDigest) {
        c->devices.reset();  // an answer without the links it was for is asked again
    }
    return c;
}

}  // namespace quorvel
