// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTException.hpp"

namespace quorvel {

// An argument outside what an engine call accepts (a bad coordinate, direction or precision).
class CPTInvalidArgumentException : public CPTException {
public:
    static constexpr const char* kName = "InvalidArgumentException";
    explicit CPTInvalidArgumentException(const std::string& reason) : CPTException(kName, reason) {}
};

}  // namespace quorvel
