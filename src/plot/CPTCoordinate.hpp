// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// Data coordinates: 0 is x, 1 is y. Z exists only so that calls naming a coordinate no XY
// space has can be made and ignored.
enum class CPTCoordinate { X = 0, Y = 1, Z = 2 };

}  // namespace quorvel
