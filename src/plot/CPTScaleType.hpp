// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

enum class CPTScaleType { Linear = 0, Log = 1 };

}  // namespace quorvel
