// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// Locale number formatting as the ICU module provides it (see NumberFormat). ICU is large and
// slow to load, and most commands (JSON output, sampling) never format a number for people.
class NumberFormatBackend {
public:
    virtual ~NumberFormatBackend() = default;
    virtual std::string formatDecimal(double value, int minFraction, int maxFraction) = 0;
    virtual std::optional<double> parseDecimal(std::string_view text) = 0;
    virtual std::string decimalSeparator() = 0;
};

// The module's one entry point: its backend, alive until the process ends (a pointer, as a
// function of C linkage returns no C++ reference).
using NumberFormatBackendEntry = NumberFormatBackend* (*)();
inline constexpr const char* kNumberFormatEntry = "quorvel_number_format";
inline constexpr const char* kNumberFormatModuleFile = "quorvel-numbers.so";

}  // namespace quorvel
