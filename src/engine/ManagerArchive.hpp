// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

namespace quorvel {

class ArchiveDecoder;
class ArchiveEncoder;
class CTrafficManager;
class CTraffics;

// How the manager stands in the state file: the device's plan at the root with its history and
// the SIMs, and each SIM's plan in that SIM's entry beside its history. Older files lack keys
// added since; each is read as what an older version meant by its absence.
class ManagerArchive {
public:
    static void encodeDevice(const CTrafficManager& m, ArchiveEncoder& coder);
    static std::unique_ptr<CTrafficManager> decodeDevice(ArchiveDecoder& coder);
    // The plan keys plus the SIM's alert history, as a JSON text.
    static void encodeSimPlan(const CTrafficManager& m, ArchiveEncoder& coder);
    static std::unique_ptr<CTrafficManager> decodeSimPlan(ArchiveDecoder& coder, CTrafficManager& owner,
                                                          std::unique_ptr<CTraffics> history, std::string subject);

private:
    // The keys both kinds of plan store after the history: limits, start day, cut-off, plan.
    static void encodePlanAfterHistory(const CTrafficManager& m, ArchiveEncoder& coder);
    static void decodePlanAfterHistory(CTrafficManager& m, ArchiveDecoder& coder);
};

}  // namespace quorvel
