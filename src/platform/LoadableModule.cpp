// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LoadableModule.hpp"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

#include "platform/ProgramPath.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

std::vector<std::filesystem::path> folders()
{
    if (const char* chosen = std::getenv("QUORVEL_MODULE_DIR"); chosen != nullptr && *chosen != '\0') {
        return {chosen};
    }
    const std::filesystem::path self = ProgramPath::self();
    // Installed, the modules live in their own folder, named relative to the program's.
    std::vector<std::filesystem::path> list{(self.parent_path() / QUORVEL_MODULE_DIR_FROM_BIN).lexically_normal()};
    // Programs in the build tree find the modules where the build puts them; an installed program
    // never looks into a build folder (someone else could create it).
    const std::filesystem::path buildModules(QUORVEL_BUILD_MODULE_DIR);
    const std::filesystem::path buildTree = buildModules.parent_path().lexically_normal();
    if (std::mismatch(buildTree.begin(), buildTree.end(), self.begin(), self.end()).first == buildTree.end()) {
        list.push_back(buildModules);
    }
    return list;
}

std::mutex loadedMutex;
std::vector<LoadableModule::Loaded>& modules()
{
    static std::vector<LoadableModule::Loaded> list;
    return list;
}

void remember(void* handle, const void* entry)
{
    const std::lock_guard<std::mutex> hold(loadedMutex);
    const auto same = [entry](const LoadableModule::Loaded& m) { return m.entry == entry; };
    if (std::none_of(modules().begin(), modules().end(), same)) {
        LoadableModule::Loaded m{entry, ::dlsym(handle, LoadableModule::kWaitingBegin),
                                 ::dlsym(handle, LoadableModule::kWaitingEnd)};
        if (m.waitingBegin == nullptr || m.waitingEnd == nullptr) {
            m.waitingBegin = m.waitingEnd = nullptr;
        }
        modules().push_back(m);
    }
}

}  // namespace

std::vector<LoadableModule::Loaded> LoadableModule::loaded()
{
    const std::lock_guard<std::mutex> hold(loadedMutex);
    return modules();
}

void* LoadableModule::entryPoint(const char* fileName, const char* entry, std::string& why)
{
    std::filesystem::path found;
    const std::vector<std::filesystem::path> list = folders();
    for (const auto& folder : list) {
        std::error_code ec;
        if (!folder.empty() && std::filesystem::exists(folder / fileName, ec)) {
            found = folder / fileName;
            break;
        }
    }
    if (found.empty()) {
        why = Translation::fill(_("%s is not installed in %s"), {fileName, list.front().string()});
        return nullptr;
    }
    void* handle = ::dlopen(found.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr) {
        const char* error = ::dlerror();
        why = error != nullptr ? std::string(error) : Translation::fill(_("cannot load %s"), {found.string()});
        return nullptr;
    }
    void* symbol = ::dlsym(handle, entry);
    if (symbol == nullptr) {
        why = Translation::fill(_("%s has no %s"), {found.string(), entry});
        return nullptr;
    }
    remember(handle, symbol);
    return symbol;
}

}  // namespace quorvel
