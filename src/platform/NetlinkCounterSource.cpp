// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NetlinkCounterSource.hpp"

#include <libmnl/libmnl.h>
#include <linux/if_link.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string_view>

namespace quorvel {

namespace {

struct Attributes {
    const nlattr* name = nullptr;
    const nlattr* link = nullptr;
    const nlattr* linkNetns = nullptr;
    const nlattr* stats64 = nullptr;
    const nlattr* stats = nullptr;
    const nlattr* linkInfo = nullptr;
};

int collectAttribute(const nlattr* attr, void* data)
{
    auto* a = static_cast<Attributes*>(data);
    switch (mnl_attr_get_type(attr)) {
    case IFLA_IFNAME: a->name = attr; break;
    case IFLA_LINK: a->link = attr; break;
    case IFLA_LINK_NETNSID: a->linkNetns = attr; break;
    case IFLA_STATS64: a->stats64 = attr; break;
    case IFLA_STATS: a->stats = attr; break;
    case IFLA_LINKINFO: a->linkInfo = attr; break;
    default: break;
    }
    return MNL_CB_OK;
}

int findKind(const nlattr* attr, void* data)
{
    if (mnl_attr_get_type(attr) == IFLA_INFO_KIND && mnl_attr_validate(attr, MNL_TYPE_NUL_STRING) >= 0) {
        *static_cast<std::string_view*>(data) = mnl_attr_get_str(attr);
    }
    return MNL_CB_OK;
}

// A veth's IFLA_LINK names its peer, and a link in another namespace is none of ours: neither
// is a link this one is stacked on.
int lowerLink(const Attributes& a)
{
    if (a.link == nullptr || a.linkNetns != nullptr || mnl_attr_get_payload_len(a.link) < sizeof(std::uint32_t)) {
        return 0;
    }
    std::string_view kind;
    if (a.linkInfo != nullptr) {
        mnl_attr_parse_nested(a.linkInfo, findKind, &kind);
    }
    return kind == "veth" ? 0 : static_cast<int>(mnl_attr_get_u32(a.link));
}

// The attribute's payload copied out: netlink aligns attributes to 4 bytes only.
template <class Stats>
bool copyStats(const nlattr* attr, Stats& out)
{
    if (attr == nullptr || mnl_attr_get_payload_len(attr) < sizeof(Stats)) {
        return false;
    }
    std::memcpy(&out, mnl_attr_get_payload(attr), sizeof(Stats));
    return true;
}

int collectLink(const nlmsghdr* message, void* data)
{
    if (message->nlmsg_type != RTM_NEWLINK) {
        return MNL_CB_OK;
    }
    const auto* info = static_cast<const ifinfomsg*>(mnl_nlmsg_get_payload(message));
    Attributes a;
    if (mnl_attr_parse(message, sizeof(*info), collectAttribute, &a) < 0 || a.name == nullptr ||
        mnl_attr_validate(a.name, MNL_TYPE_NUL_STRING) < 0) {
        return MNL_CB_OK;
    }
    InterfaceCounters c;
    c.name = mnl_attr_get_str(a.name);
    c.index = info->ifi_index;
    c.lowerIndex = lowerLink(a);
    rtnl_link_stats64 wide{};
    rtnl_link_stats narrow{};
    if (copyStats(a.stats64, wide)) {
        c.rxBytes = wide.rx_bytes;
        c.txBytes = wide.tx_bytes;
    } else if (copyStats(a.stats, narrow)) {  // kernels without 64-bit statistics for this link
        c.rxBytes = narrow.rx_bytes;
        c.txBytes = narrow.tx_bytes;
    } else {
        return MNL_CB_OK;  // a link without statistics carries nothing to count
    }
    static_cast<std::vector<InterfaceCounters>*>(data)->push_back(std::move(c));
    return MNL_CB_OK;
}

}  // namespace

std::optional<std::vector<InterfaceCounters>> NetlinkCounterSource::read()
{
    const std::unique_ptr<mnl_socket, decltype(&mnl_socket_close)> socket(mnl_socket_open2(NETLINK_ROUTE, SOCK_CLOEXEC),
                                                                           &mnl_socket_close);
    if (!socket || mnl_socket_bind(socket.get(), 0, MNL_SOCKET_AUTOPID) < 0) {
        return std::nullopt;
    }
    // Large enough for the kernel's biggest dump part, so that no message is cut.
    std::vector<char> buffer(32 * 1024);
    nlmsghdr* request = mnl_nlmsg_put_header(buffer.data());
    request->nlmsg_type = RTM_GETLINK;
    request->nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request->nlmsg_seq = static_cast<unsigned>(std::time(nullptr));
    auto* info = static_cast<ifinfomsg*>(mnl_nlmsg_put_extra_header(request, sizeof(ifinfomsg)));
    info->ifi_family = AF_UNSPEC;
    const unsigned seq = request->nlmsg_seq;
    const unsigned portid = mnl_socket_get_portid(socket.get());
    if (mnl_socket_sendto(socket.get(), request, request->nlmsg_len) < 0) {
        return std::nullopt;
    }
    std::vector<InterfaceCounters> out;
    for (;;) {
        const ssize_t got = mnl_socket_recvfrom(socket.get(), buffer.data(), buffer.size());
        if (got < 0) {
            return std::nullopt;
        }
        const int r = mnl_cb_run(buffer.data(), static_cast<std::size_t>(got), seq, portid, collectLink, &out);
        if (r == MNL_CB_STOP) {
            return out;
        }
        if (r < 0) {
            return std::nullopt;
        }
    }
}

}  // namespace quorvel
