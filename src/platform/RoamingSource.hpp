// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

namespace quorvel {

// Whether the modem is registered on a network other than its home one, and whose network it
// is. Only a resident sampler follows it; the others are never roaming.
class RoamingSource {
public:
    virtual ~RoamingSource() = default;
    // Whether the modem was roaming at any moment since the previous call: the bytes of that
    // interval count as roaming (a traveller would rather see too much than too little).
    virtual bool roamingSinceLastAsked() = 0;
    // The operator's name as the modem reports it; nullopt when unknown.
    virtual std::optional<std::string> operatorName() const = 0;
};

class NoRoamingSource final : public RoamingSource {
public:
    bool roamingSinceLastAsked() override { return false; }
    std::optional<std::string> operatorName() const override { return std::nullopt; }
};

}  // namespace quorvel
