// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlStateWatch.hpp"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/Translation.hpp"

namespace quorvel {

namespace {

std::string reason(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

CtlStateWatch::CtlStateWatch(const std::filesystem::path& stateFile)
    : name_(stateFile.filename().string()), signals_({SIGTERM, SIGINT}, SignalReader::Reads::Blocking)
{
    inotify_ = ::inotify_init1(IN_CLOEXEC);
    if (signals_.fd() < 0) {
        error_ = reason(_("cannot wait for signals"));
    } else if (inotify_ < 0) {
        error_ = reason(_("cannot watch the state file"));
    } else if (::inotify_add_watch(inotify_, stateFile.parent_path().c_str(),
                                   IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF) < 0) {
        error_ = reason(Translation::fill(_("cannot watch %s"), {stateFile.parent_path().string()}).c_str());
    }
}

CtlStateWatch::~CtlStateWatch()
{
    if (inotify_ >= 0) {
        ::close(inotify_);
    }
}

// Whether a batch of inotify events names the state file; a removed folder is a failure.
bool CtlStateWatch::changedIn(const char* events, std::size_t size)
{
    bool changed = false;
    for (std::size_t at = 0; at + sizeof(inotify_event) <= size;) {
        inotify_event e;
        std::memcpy(&e, events + at, sizeof e);
        const char* name = events + at + sizeof(inotify_event);
        if ((e.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0) {
            error_ = _("the folder of the state file was removed or moved");
        } else if ((e.mask & IN_Q_OVERFLOW) != 0 || (e.len > 0 && name_ == name)) {
            changed = true;
        }
        at += sizeof(inotify_event) + e.len;
    }
    return changed;
}

CtlStateWatch::Event CtlStateWatch::next()
{
    if (!error_.empty()) {
        return Event::Failed;
    }
    alignas(inotify_event) std::array<char, 4096> buf{};
    for (;;) {
        std::array<pollfd, 2> fds = {pollfd{signals_.fd(), POLLIN, 0}, pollfd{inotify_, POLLIN, 0}};
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            error_ = reason(_("cannot wait for the state file"));
            return Event::Failed;
        }
        if (fds[0].revents != 0) {
            signals_.drain();
            return Event::Stopped;
        }
        const ssize_t n = ::read(inotify_, buf.data(), buf.size());
        if (n < 0 && errno != EINTR && errno != EAGAIN) {
            error_ = reason(_("cannot watch the state file"));
            return Event::Failed;
        }
        const bool changed = n > 0 && changedIn(buf.data(), static_cast<std::size_t>(n));
        if (!error_.empty()) {
            return Event::Failed;
        }
        if (changed) {
            return Event::Changed;
        }
    }
}

}  // namespace quorvel
