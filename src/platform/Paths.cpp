// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Paths.hpp"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {

std::filesystem::path home()
{
    if (const char* h = std::getenv("HOME"); h != nullptr && *h != '\0') {
        return h;
    }
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return "/tmp";
}

// An XDG variable counts only when it holds an absolute path.
std::filesystem::path xdg(const char* var, const char* fallbackBelowHome)
{
    if (const char* v = std::getenv(var); v != nullptr && v[0] == '/') {
        return v;
    }
    return home() / fallbackBelowHome;
}

}  // namespace

Paths Paths::fromEnvironment()
{
    const std::filesystem::path data = xdg("XDG_DATA_HOME", ".local/share") / "quorvel";
    const std::filesystem::path config = xdg("XDG_CONFIG_HOME", ".config");
    return Paths{data / "statestg",
                 data / "statestg.lock",
                 config / "quorvel" / "defaults.json",
                 xdg("XDG_STATE_HOME", ".local/state") / "quorvel" / "bglog",
                 data / "watch.lock",
                 config / "autostart" / kAutostartFileName};
}

bool Paths::createPrivateFolders(const std::filesystem::path& dir, std::error_code& ec)
{
    ec.clear();
    if (dir.empty() || std::filesystem::is_directory(dir, ec)) {
        return !ec;
    }
    if (dir.has_relative_path() && dir.parent_path() != dir && !createPrivateFolders(dir.parent_path(), ec)) {
        return false;
    }
    if (::mkdir(dir.c_str(), 0700) != 0) {
        const int error = errno;
        if (error == EEXIST && std::filesystem::is_directory(dir, ec)) {
            return true;  // made by another process meanwhile
        }
        ec.assign(error, std::generic_category());
        return false;
    }
    // The umask may take bits away; it must not leave any other than the owner's.
    if (::chmod(dir.c_str(), 0700) != 0) {
        ec.assign(errno, std::generic_category());
        return false;
    }
    return true;
}

Paths Paths::inDirectory(const std::filesystem::path& dir)
{
    return Paths{dir / "statestg", dir / "statestg.lock", dir / "defaults.json",
                 dir / "bglog",    dir / "watch.lock",    dir / kAutostartFileName};
}

}  // namespace quorvel
