// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>

namespace quorvel {

// The program's few log lines (failures that the user should know of) go to standard error,
// or to a sink a test installs.
class Log {
public:
    using Sink = std::function<void(const std::string&)>;
    static void line(const std::string& text);
    // Replaces the sink; returns the previous one. An empty sink restores standard error.
    static Sink setSink(Sink sink);
};

}  // namespace quorvel
