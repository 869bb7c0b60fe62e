// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// Side of an axis that ticks and labels go to.
enum class CPTSign { Negative = -1, None = 0, Positive = 1 };

}  // namespace quorvel
