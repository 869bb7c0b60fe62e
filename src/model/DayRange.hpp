// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "model/DateDay.hpp"
#include "platform/Date.hpp"

namespace quorvel {

// The calendar days from `first` to `last`, both included, tested by their day keys.
class DayRange {
public:
    DayRange(Date first, Date last) : from_(DateDay::dayKey(first)), to_(DateDay::dayKey(last)) {}
    bool contains(Date d) const { return containsKey(DateDay::dayKey(d)); }
    bool containsKey(int key) const { return key >= from_ && key <= to_; }

private:
    int from_;
    int to_;
};

}  // namespace quorvel
