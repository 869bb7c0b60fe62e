// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// Locale number formatting and parsing in the decimal style of the current locale (ICU),
// rounding half to even. ICU is loaded (as the module quorvel-numbers.so) on the first call;
// without the module, numbers are written and read in the plain style ("." separator), said once.
class NumberFormat {
public:
    // Plain style: no grouping, between minFraction and maxFraction fraction digits.
    static std::string formatDecimal(double value, int minFraction, int maxFraction);
    // The whole text (surrounding white space aside) read as a decimal number of the current
    // locale; absent when it is not one.
    static std::optional<double> parseDecimal(std::string_view text);
    // The current locale's decimal separator, UTF-8 ("." in English, "," in German).
    static std::string decimalSeparator();
};

}  // namespace quorvel
