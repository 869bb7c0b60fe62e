// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Log.hpp"

#include <cstdio>
#include <mutex>

namespace quorvel {

namespace {
std::mutex& sinkMutex()
{
    static std::mutex m;
    return m;
}
Log::Sink& currentSink()
{
    static Log::Sink sink;
    return sink;
}
}  // namespace

void Log::line(const std::string& text)
{
    std::lock_guard lock(sinkMutex());
    if (currentSink()) {
        currentSink()(text);
        return;
    }
    std::fprintf(stderr, "quorvel: %s\n", text.c_str());
}

Log::Sink Log::setSink(Sink sink)
{
    std::lock_guard lock(sinkMutex());
    Sink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

}  // namespace quorvel
