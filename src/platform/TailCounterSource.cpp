// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TailCounterSource.hpp"

#include <algorithm>

#include "platform/Assert.hpp"

namespace quorvel {

namespace {
// The kernel's index tells a link; a source without indexes has only the name.
bool sameLink(const InterfaceCounters& a, const InterfaceCounters& b)
{
    return a.index != 0 && b.index != 0 ? a.index == b.index : a.name == b.name;
}
}  // namespace

TailCounterSource::TailCounterSource(std::unique_ptr<CounterSource> inner) : inner_(std::move(inner))
{
    QV_REQUIRE(inner_ != nullptr, "a tail needs the counter source it extends");
}

std::optional<std::vector<InterfaceCounters>> TailCounterSource::read()
{
    std::optional<std::vector<InterfaceCounters>> links = inner_->read();
    if (!links) {
        return links;
    }
    for (Entry& gone : tail_) {
        const bool present = std::any_of(links->begin(), links->end(),
                                          [&](const InterfaceCounters& l) { return sameLink(l, gone.last); });
        if (!present) {
            links->push_back(gone.last);
        }
        gone.shown = true;
    }
    return links;
}

void TailCounterSource::add(const InterfaceCounters& last)
{
    const auto known =
        std::find_if(tail_.begin(), tail_.end(), [&](const Entry& e) { return sameLink(e.last, last); });
    if (known != tail_.end()) {
        *known = Entry{last, false};
    } else {
        tail_.push_back(Entry{last, false});
    }
}

void TailCounterSource::dropShown()
{
    std::erase_if(tail_, [](const Entry& e) { return e.shown; });
}

}  // namespace quorvel
