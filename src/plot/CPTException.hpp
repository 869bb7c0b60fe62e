// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace quorvel {

// A programming error reported by the engine: a name ("CPTException") and a fixed reason text.
class CPTException : public std::logic_error {
public:
    explicit CPTException(const std::string& reason) : CPTException("CPTException", reason) {}

    const std::string& name() const { return name_; }
    std::string reason() const { return what(); }

protected:
    CPTException(std::string name, const std::string& reason) : std::logic_error(reason), name_(std::move(name)) {}

private:
    std::string name_;
};

}  // namespace quorvel
