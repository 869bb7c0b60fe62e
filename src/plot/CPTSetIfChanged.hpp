// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <utility>

namespace quorvel {

// Stores `value` in `field` when it differs and says whether it did: a property setter redraws or
// relayouts only on a real change.
template <class Field, class Value>
bool CPTSetIfChanged(Field& field, Value&& value)
{
    if (field == value) {
        return false;
    }
    field = std::forward<Value>(value);
    return true;
}

}  // namespace quorvel
