// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/SimRecord.hpp"

namespace quorvel {

// Which SIM a user's word names: the full ICCID (or IMSI), its last four digits when no other SIM
// ends so, or the SIM's name or operator when that is unique. A pure function of the known SIMs.
struct SimQuery {
    struct Found {
        std::size_t index;
    };
    enum class Failure { Unknown, Ambiguous };

    static std::variant<Found, Failure> resolve(std::string_view word, const std::vector<SimRecord>& sims);
    // "Known SIMs: …" for a refusal: each SIM's name with the last four digits of its key.
    static std::string knownList(const std::vector<SimRecord>& sims);
    // A word for a command line that names the SIM at `index` without its identifier where that
    // can be: the last four digits, else its name (quoted for the shell), else the full key.
    static std::string wordFor(std::size_t index, const std::vector<SimRecord>& sims);
    // Whether the word means the device's own plan: "device" or "This device", in any case,
    // unless a SIM is called so.
    static bool namesThisDevice(std::string_view word, const std::vector<SimRecord>& sims);
};

}  // namespace quorvel
