// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// How a label lines up with its tick.
enum class CPTAlignment { Left = 0, Center = 1, Right = 2, Top = 3, Middle = 4, Bottom = 5 };

}  // namespace quorvel
