// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/Date.hpp"

namespace quorvel {

// Where "now" comes from; tests pin it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() const = 0;
};

class SystemClock final : public Clock {
public:
    Date now() const override;
};

}  // namespace quorvel
