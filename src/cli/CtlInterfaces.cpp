// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlInterfaces.hpp"

#include <algorithm>
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/CtlColumns.hpp"
#include "engine/CAppController.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

// The options that name an interface, and what each makes of it.
struct NameOption {
    const char* option;
    std::optional<bool> count;
};
constexpr NameOption kNameOptions[] = {{"--count", true}, {"--ignore", false}, {"--auto", std::nullopt}};

}  // namespace

bool CtlInterfaces::isInterfaceName(const std::string& name)
{
    constexpr std::size_t kMaxLength = 15;  // IFNAMSIZ less its terminating zero
    return !name.empty() && name.size() <= kMaxLength && name != "." && name != ".." &&
           std::none_of(name.begin(), name.end(), [](unsigned char c) { return c == '/' || c == ':' || c <= ' ' || c == 0x7f; });
}

bool CtlInterfaces::valuesFit(const CtlArguments& a, std::string& refused)
{
    for (const NameOption& o : kNameOptions) {
        if (auto name = a.value(o.option); name && !isInterfaceName(*name)) {
            refused = Translation::fill(_("invalid interface name '%s'"), {*name});
            return false;
        }
    }
    if (auto metered = a.value("--metered"); metered && *metered != "on" && *metered != "off") {
        refused = Translation::fill(_("invalid metered switch '%s'"), {*metered});
        return false;
    }
    return true;
}

int CtlInterfaces::apply(const CtlArguments& a, CAppController& app, std::ostream& out)
{
    const auto metered = a.value("--metered");
    const bool changes = metered || std::any_of(std::begin(kNameOptions), std::end(kNameOptions),
                                                [&](const NameOption& o) { return a.has(o.option); });
    if (changes) {
        app.withStateLock([&](CTrafficManager& m) {
            for (const NameOption& o : kNameOptions) {
                if (auto name = a.value(o.option)) {
                    m.setInterfaceChoice(*name, o.count);
                }
            }
            if (metered) {
                m.setCountMetered(*metered == "on");
            }
        });
    }
    list(app, a.has("--json"), out);
    return 0;
}

void CtlInterfaces::list(CAppController& app, bool json, std::ostream& out)
{
    const auto report = app.pmodule()->interfaceReport();
    if (json) {
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        for (const auto& i : report) {
            rows.push_back({{"name", i.decision.name},
                            {"counted", i.decision.counted},
                            {"reason", countReasonName(i.decision.reason)},
                            {"rx_bytes", i.rxBytes},
                            {"tx_bytes", i.txBytes}});
        }
        out << nlohmann::ordered_json{{"interfaces", std::move(rows)}}.dump(2) << "\n";
        return;
    }
    // The reasons are the JSON's words, the same in every language.
    out << CtlColumns::padded(_("INTERFACE"), 16) << CtlColumns::padded(_("COUNTED"), 9)
        << CtlColumns::padded(_("REASON"), 16) << CtlColumns::padded(_("RECEIVED"), 21) << _("SENT") << "\n";
    for (const auto& i : report) {
        out << CtlColumns::padded(i.decision.name, 16) << CtlColumns::padded(i.decision.counted ? _("yes") : _("no"), 9)
            << CtlColumns::padded(std::string(countReasonName(i.decision.reason)), 16)
            << CtlColumns::padded(std::to_string(i.rxBytes), 21) << i.txBytes << "\n";
    }
    out << Translation::fill(_("Counting metered connections: %s"), {app.pmodule()->countMetered() ? _("on") : _("off")})
        << "\n";
}

}  // namespace quorvel
