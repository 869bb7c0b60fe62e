// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <vector>

#include "cli/CtlArguments.hpp"
#include "model/SimRecord.hpp"
#include "platform/SimCards.hpp"

namespace quorvel {

class CAppController;
class CTraffics;
class KnownSims;

// `quorvelctl sims`: the SIMs the modem manager reports now, in any slot, with the ones seen
// before. Works before any set-up. Naming and forgetting are one step under the one-writer lock;
// a SIM the command names must be known, else it exits 1 listing the known ones.
class CtlSims {
public:
    using StartApp = std::function<CAppController&()>;
    static int run(const CtlArguments& a, SimCardDirectory& modems, std::ostream& out, std::ostream& err,
                   const StartApp& start);

    // One line per SIM not set up that has traffic: it is counted for that SIM, not this plan;
    // while no SIM has a plan, the first one is asked whether it carries the device's.
    static void sayWhichAreNotSetUp(const KnownSims& sims, std::ostream& err);
    // The SIM the word names among `known`, or nullopt after saying why on `err`.
    static std::optional<std::size_t> resolve(const std::string& word, const std::vector<SimRecord>& known,
                                              std::ostream& err);

private:
    // `--take-over ID`: the device's plan and history go to that SIM, which has none yet.
    static int takeOver(const SimRecord& chosen, CAppController& app, const SimCardList& now, std::ostream& out,
                        std::ostream& err);
    static void list(const KnownSims& stored, const std::vector<SimRecord>& known, const SimCardList& now, bool json, std::ostream& out);
};

}  // namespace quorvel
