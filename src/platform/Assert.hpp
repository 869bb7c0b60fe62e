// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

[[noreturn]] void assertionFailed(const char* what, const char* file, int line);

}  // namespace quorvel

// A broken precondition: the message says what the caller forgot. Kept in release builds.
#define QV_REQUIRE(condition, message) \
    ((condition) ? static_cast<void>(0) : ::quorvel::assertionFailed(message, __FILE__, __LINE__))
