// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// One SIM as the modem manager reports it, in the active slot or in another one.
struct SimCard {
    std::string iccid;         // SimIdentifier; may be empty while the SIM is locked
    std::string imsi;          // may be empty
    std::string operatorName;  // the SIM's provider; may be empty
    std::string operatorId;    // MCC+MNC; may be empty
    std::string modemPath;     // the modem whose slot holds it
    bool active = false;       // the modem's data goes through this SIM now
    // The modem's data interfaces (net ports and connected bearers); only for the active SIM.
    std::vector<std::string> interfaces;

    // The key its plan and history are stored under: the ICCID, the IMSI when there is none.
    const std::string& key() const { return iccid.empty() ? imsi : iccid; }
};

using SimCardList = std::vector<SimCard>;

// Where the SIMs of the machine's modems come from; the real one asks ModemManager.
class SimCardDirectory {
public:
    virtual ~SimCardDirectory() = default;
    // std::nullopt when no modem manager answers on the system bus (or it hangs).
    virtual std::optional<SimCardList> sims() = 0;
};

// A directory for systems (and tests) without a modem manager.
class NoSimCardDirectory final : public SimCardDirectory {
public:
    std::optional<SimCardList> sims() override { return std::nullopt; }
};

}  // namespace quorvel
