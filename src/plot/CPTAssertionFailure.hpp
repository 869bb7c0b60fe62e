// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace quorvel {

// A broken precondition: the caller forgot something. Raised instead of aborting so that a
// mistake in a chart page never takes the application down.
class CPTAssertionFailure : public std::logic_error {
public:
    CPTAssertionFailure(const std::string& message, std::string where)
        : std::logic_error(message), where_(std::move(where)) {}

    // The class whose precondition failed.
    const std::string& where() const { return where_; }

    // Throws "Invalid parameter not satisfying: <condition>" unless `satisfied`.
    static void checkParameter(bool satisfied, const char* condition, const char* where)
    {
        if (!satisfied) {
            throw CPTAssertionFailure(std::string("Invalid parameter not satisfying: ") + condition, where);
        }
    }
    static void check(bool satisfied, const char* message, const char* where)
    {
        if (!satisfied) {
            throw CPTAssertionFailure(message, where);
        }
    }

private:
    std::string where_;
};

}  // namespace quorvel
