// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;

// One interface's counters as the last sample (or a reset) saw them: the point its next growth
// is measured from. The index tells a re-created interface from the one of the same name before.
// An interface that was not counted keeps only its name and index (not measured): it was there,
// so if it comes to be counted its bytes so far are not the plan's.
struct InterfaceBaseline {
    static constexpr std::string_view kClassName = "InterfaceBaseline";

    std::string name;
    int index = 0;
    std::uint64_t received = 0;
    std::uint64_t sent = 0;
    bool measured = true;

    bool operator==(const InterfaceBaseline&) const = default;

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<InterfaceBaseline> initWithCoder(ArchiveDecoder& coder);
};

}  // namespace quorvel
