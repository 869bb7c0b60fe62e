// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <vector>

#include "platform/InterfaceCounters.hpp"

namespace quorvel {

// A counter source that still shows links which vanished since the last sample, with the final
// counters their removal carried, so that a sample books their last growth as if they were
// there. Links that are present are read as they are; a link is never shown twice.
class TailCounterSource final : public CounterSource {
public:
    explicit TailCounterSource(std::unique_ptr<CounterSource> inner);

    std::optional<std::vector<InterfaceCounters>> read() override;

    // Keeps a link's last counters until a read has shown them and dropShown() is called; a
    // newer announcement of the same link replaces an older one.
    void add(const InterfaceCounters& last);
    // After a sample: the links it read book nothing more. Links added since, or kept through
    // a read that failed, stay for the next sample.
    void dropShown();
    // Forgets every link kept (nothing is to be booked).
    void clear() { tail_.clear(); }
    bool empty() const { return tail_.empty(); }

private:
    struct Entry {
        InterfaceCounters last;
        bool shown = false;
    };
    std::unique_ptr<CounterSource> inner_;
    std::vector<Entry> tail_;
};

}  // namespace quorvel
