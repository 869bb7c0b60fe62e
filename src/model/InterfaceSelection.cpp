// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/InterfaceSelection.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

namespace quorvel {

std::string_view countReasonName(CountReason reason)
{
    switch (reason) {
    case CountReason::User: return "user";
    case CountReason::NetworkManager: return "networkmanager";
    case CountReason::Metered: return "metered";
    case CountReason::Name: return "name";
    case CountReason::Ignored: return "ignored";
    case CountReason::None: return "none";
    }
    return "none";
}

bool InterfaceSelection::hasCellularName(std::string_view name)
{
    static constexpr std::array<std::string_view, 9> kPrefixes = {
        "pdp_ip", "wwan", "ww", "rmnet", "ppp", "qmapmux", "mhi_hwip", "mhi_swip", "ccmni"};
    for (std::string_view prefix : kPrefixes) {
        if (name.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

namespace {

constexpr std::uint32_t kModemDeviceType = 8;  // NM_DEVICE_TYPE_MODEM
constexpr std::uint32_t kMeteredYes = 1;       // NM_METERED_YES
constexpr std::uint32_t kMeteredGuessYes = 3;  // NM_METERED_GUESS_YES

// What NetworkManager's answer says about one interface name. Several entries may carry the
// same name (a modem's control and data interface, two devices naming one link).
struct ManagerView {
    bool reported = false;
    bool modem = false;
    bool typeKnown = false;
    bool metered = false;
};

ManagerView viewOf(const std::string& name, const std::optional<NetworkDeviceTable>& networkManager)
{
    ManagerView view;
    if (!networkManager) {
        return view;
    }
    for (const NetworkDevice& device : *networkManager) {
        if (device.interfaceName != name) {
            continue;
        }
        view.reported = true;
        view.typeKnown = view.typeKnown || device.deviceType.has_value();
        view.modem = view.modem || device.deviceType == kModemDeviceType;
        view.metered = view.metered || device.metered == kMeteredYes || device.metered == kMeteredGuessYes;
    }
    return view;
}

// The rules before stacking is considered, for one link.
CountingDecision decideAlone(const InterfaceCounters& link, const CountingChoices& choices,
                             const std::optional<NetworkDeviceTable>& networkManager)
{
    const auto chosen = choices.byName.find(link.name);
    if (chosen != choices.byName.end()) {
        return {link.name, link.index, chosen->second, chosen->second ? CountReason::User : CountReason::Ignored};
    }
    const ManagerView view = viewOf(link.name, networkManager);
    if (view.modem) {
        return {link.name, link.index, true, CountReason::NetworkManager};
    }
    if (view.reported && choices.countMetered && view.metered) {
        return {link.name, link.index, true, CountReason::Metered};
    }
    // A device whose type NetworkManager did not tell is judged by its name like an unreported one.
    if ((!view.reported || !view.typeKnown) && InterfaceSelection::hasCellularName(link.name)) {
        return {link.name, link.index, true, CountReason::Name};
    }
    return {link.name, link.index, false, CountReason::None};
}

constexpr std::size_t kNoLink = static_cast<std::size_t>(-1);

// Whether following the lower links from `start` comes back to it.
bool onLoop(std::size_t start, const std::vector<std::size_t>& lower)
{
    std::size_t at = lower[start];
    for (std::size_t steps = 0; at != kNoLink && steps < lower.size(); ++steps, at = lower[at]) {
        if (at == start) {
            return true;
        }
    }
    return false;
}

// Position of each link's lower link in `links`, or kNoLink. Links that name each other in a loop
// (the two ends of a veth pair, a link naming itself) are not a stack.
std::vector<std::size_t> lowerPositions(const std::vector<InterfaceCounters>& links)
{
    std::map<int, std::size_t> byIndex;
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (links[i].index != 0) {
            byIndex.emplace(links[i].index, i);
        }
    }
    std::vector<std::size_t> lower(links.size(), kNoLink);
    for (std::size_t i = 0; i < links.size(); ++i) {
        const auto found = byIndex.find(links[i].lowerIndex);
        if (links[i].lowerIndex != 0 && found != byIndex.end()) {
            lower[i] = found->second;
        }
    }
    std::vector<bool> looped(links.size(), false);
    for (std::size_t i = 0; i < links.size(); ++i) {
        looped[i] = onLoop(i, lower);
    }
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (looped[i]) {
            lower[i] = kNoLink;
        }
    }
    return lower;
}

// The links below `start`, nearest first.
std::vector<std::size_t> linksBelow(std::size_t start, const std::vector<std::size_t>& lower)
{
    std::vector<std::size_t> below;
    for (std::size_t at = lower[start]; at != kNoLink && below.size() < lower.size(); at = lower[at]) {
        below.push_back(at);
    }
    return below;
}

}  // namespace

std::vector<CountingDecision> InterfaceSelection::decide(const std::vector<InterfaceCounters>& links,
                                                         const CountingChoices& choices,
                                                         const std::optional<NetworkDeviceTable>& networkManager)
{
    std::vector<CountingDecision> out;
    out.reserve(links.size());
    for (const InterfaceCounters& link : links) {
        out.push_back(decideAlone(link, choices, networkManager));
    }
    // Stacked links: the bytes of an upper link pass through every link below it. Detection bills
    // the top of a stack; a link the user counted is never overridden, and detected links above
    // it are skipped, since the user chose to bill at that level.
    const std::vector<std::size_t> lower = lowerPositions(links);
    std::vector<bool> carries(links.size(), false);
    std::vector<bool> onUserLink(links.size(), false);
    for (std::size_t i = 0; i < links.size(); ++i) {
        for (std::size_t below : linksBelow(i, lower)) {
            carries[below] = carries[below] || out[i].counted;
            onUserLink[i] = onUserLink[i] || (out[below].counted && out[below].reason == CountReason::User);
        }
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i].counted && out[i].reason != CountReason::User && (carries[i] || onUserLink[i])) {
            out[i].counted = false;
            out[i].reason = CountReason::None;
        }
    }
    return out;
}

}  // namespace quorvel
