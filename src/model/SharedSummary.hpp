// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

namespace quorvel {

class FTrafficDataInformation;

// Screens and front ends share one summary read-only; one that needs other figures makes its own
// copy. Declared apart so that a header can name it without the summary's own.
using SharedSummary = std::shared_ptr<const FTrafficDataInformation>;

}  // namespace quorvel
