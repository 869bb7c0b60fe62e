// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Assert.hpp"

#include <cstdio>
#include <cstdlib>

namespace quorvel {

void assertionFailed(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "quorvel: %s:%d: %s\n", file, line, what);
    std::abort();
}

}  // namespace quorvel
