// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/ConnectionRows.hpp"

#include <algorithm>

namespace quorvel {

std::string ConnectionRows::reasonText(CountReason reason)
{
    switch (reason) {
    case CountReason::User:
        return "Chosen by you";
    case CountReason::NetworkManager:
        return "Modem (NetworkManager)";
    case CountReason::Metered:
        return "Metered connection";
    case CountReason::Name:
        return "Mobile data by its name";
    case CountReason::Ignored:
        return "Ignored by you";
    case CountReason::None:
        break;
    }
    return "Not mobile data";
}

std::vector<ConnectionRow> ConnectionRows::fromReport(const std::vector<InterfaceState>& report)
{
    std::vector<ConnectionRow> rows;
    rows.reserve(report.size());
    for (const auto& i : report) {
        rows.push_back({i.decision.name, i.decision.counted, reasonText(i.decision.reason)});
    }
    return rows;
}

bool ConnectionRows::sameInterfaces(const std::vector<ConnectionRow>& a, const std::vector<ConnectionRow>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const ConnectionRow& x, const ConnectionRow& y) { return x.name == y.name; });
}

}  // namespace quorvel
