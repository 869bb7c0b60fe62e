// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LinkMonitor.hpp"

#include <libmnl/libmnl.h>
#include <linux/if.h>
#include <linux/if_link.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace quorvel {

namespace {

using Attributes = std::array<const nlattr*, IFLA_MAX + 1>;

int keepAttribute(const nlattr* attr, void* data)
{
    if (mnl_attr_type_valid(attr, IFLA_MAX) > 0) {
        (*static_cast<Attributes*>(data))[mnl_attr_get_type(attr)] = attr;
    }
    return MNL_CB_OK;
}

// The statistics blocks are only 4-byte aligned inside the message: copied, never cast.
template <typename Stats>
bool copyStats(const nlattr* attr, Stats& stats)
{
    if (attr == nullptr || mnl_attr_get_payload_len(attr) < sizeof(Stats)) {
        return false;
    }
    std::memcpy(&stats, mnl_attr_get_payload(attr), sizeof(Stats));
    return true;
}

bool readCounters(const Attributes& tb, InterfaceCounters& c)
{
    rtnl_link_stats64 wide{};
    rtnl_link_stats narrow{};
    if (copyStats(tb[IFLA_STATS64], wide)) {
        c.rxBytes = wide.rx_bytes;
        c.txBytes = wide.tx_bytes;
    } else if (copyStats(tb[IFLA_STATS], narrow)) {  // kernels that send only the old block
        c.rxBytes = narrow.rx_bytes;
        c.txBytes = narrow.tx_bytes;
    } else {
        return false;
    }
    return true;
}

int collect(const nlmsghdr* message, void* data)
{
    if (std::optional<LinkEvent> e = LinkMonitor::parse(message)) {
        static_cast<std::vector<LinkEvent>*>(data)->push_back(std::move(*e));
    }
    return MNL_CB_OK;
}

}  // namespace

void LinkMonitor::SocketClose::operator()(mnl_socket* s) const
{
    mnl_socket_close(s);
}

LinkMonitor::LinkMonitor()
{
    socket_.reset(mnl_socket_open2(NETLINK_ROUTE, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (socket_ && mnl_socket_bind(socket_.get(), RTMGRP_LINK, MNL_SOCKET_AUTOPID) < 0) {
        socket_.reset();
    }
}

LinkMonitor::~LinkMonitor() = default;

int LinkMonitor::fd() const
{
    return socket_ ? mnl_socket_get_fd(socket_.get()) : -1;
}

bool LinkMonitor::requestAll()
{
    if (!socket_) {
        return false;
    }
    std::array<char, 256> buffer{};
    nlmsghdr* request = mnl_nlmsg_put_header(buffer.data());
    request->nlmsg_type = RTM_GETLINK;
    request->nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request->nlmsg_seq = 1;
    auto* info = static_cast<ifinfomsg*>(mnl_nlmsg_put_extra_header(request, sizeof(ifinfomsg)));
    info->ifi_family = AF_UNSPEC;
    return mnl_socket_sendto(socket_.get(), request, request->nlmsg_len) >= 0;
}

std::vector<LinkEvent> LinkMonitor::drain(bool& overrun)
{
    overrun = false;
    std::vector<LinkEvent> events;
    if (!socket_) {
        return events;
    }
    // Large enough for any link message: one with every attribute stays below a page or two.
    std::array<char, 32768> buffer;
    for (;;) {
        const ssize_t n = mnl_socket_recvfrom(socket_.get(), buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == ENOBUFS) {
                overrun = true;
                continue;
            }
            if (errno == EINTR) {
                continue;
            }
            break;  // EAGAIN: all read
        }
        // Sequence and port are not checked: notifications and the answers to requestAll()
        // are read alike.
        mnl_cb_run(buffer.data(), static_cast<std::size_t>(n), 0, 0, &collect, &events);
    }
    return events;
}

std::optional<LinkEvent> LinkMonitor::parse(const nlmsghdr* message)
{
    if ((message->nlmsg_type != RTM_NEWLINK && message->nlmsg_type != RTM_DELLINK) ||
        message->nlmsg_len < mnl_nlmsg_size(sizeof(ifinfomsg))) {
        return std::nullopt;
    }
    const auto* info = static_cast<const ifinfomsg*>(mnl_nlmsg_get_payload(message));
    Attributes tb{};
    if (mnl_attr_parse(message, sizeof(ifinfomsg), &keepAttribute, &tb) < 0) {
        return std::nullopt;
    }
    LinkEvent e;
    e.removed = message->nlmsg_type == RTM_DELLINK;
    e.carrying = (info->ifi_flags & IFF_UP) != 0 && (info->ifi_flags & IFF_RUNNING) != 0;
    e.counters.index = info->ifi_index;
    if (tb[IFLA_IFNAME] != nullptr && mnl_attr_validate(tb[IFLA_IFNAME], MNL_TYPE_STRING) >= 0) {
        e.counters.name = mnl_attr_get_str(tb[IFLA_IFNAME]);
    }
    if (tb[IFLA_LINK] != nullptr && mnl_attr_validate(tb[IFLA_LINK], MNL_TYPE_U32) >= 0) {
        e.counters.lowerIndex = static_cast<int>(mnl_attr_get_u32(tb[IFLA_LINK]));
    }
    e.hasStats = readCounters(tb, e.counters);
    return e;
}

}  // namespace quorvel
