// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

namespace quorvel {

// Decimal numbers in the plain style ("." separator, "-" sign, Latin digits, no grouping), rounded
// half to even on the shortest text that reads back as the same double, the way ICU rounds. For
// the locales whose style this is (English ones and the C locale), NumberFormat writes figures
// without loading ICU: status bars and the background sampler format sizes on every run.
class PlainNumberFormat {
public:
    // Absent for values it does not write (not finite): ICU's words for them differ.
    static std::optional<std::string> formatDecimal(double value, int minFraction, int maxFraction);
    // True when ICU's default locale for this process would write numbers in the plain style.
    // Decided the way ICU finds its default locale (the messages locale, else LC_ALL, LC_MESSAGES,
    // LANG); when ICU is already in the process, its own default may have been changed, so false.
    static bool coversCurrentLocale();
};

}  // namespace quorvel
