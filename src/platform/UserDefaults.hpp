// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/StoredFile.hpp"

namespace quorvel {

// The user defaults: a typed JSON object of preference keys, kept in memory and written
// atomically by synchronize(). Values of an unexpected type are the readers' business (the
// typed getters answer absent); a file that is not a JSON object is moved aside.
class UserDefaults {
public:
    // Says why a stored object is unusable (a known key holding the wrong type), or nothing.
    using Validator = std::function<std::optional<std::string>(const nlohmann::json&)>;

    // Without a file the defaults live in memory only. A file the validator refuses is moved
    // aside like one that is not JSON.
    explicit UserDefaults(std::optional<std::filesystem::path> file = std::nullopt, Validator validator = {});

    const nlohmann::json* objectForKey(std::string_view key) const;
    bool hasKey(std::string_view key) const { return objectForKey(key) != nullptr; }
    void setObject(const std::string& key, nlohmann::json value);
    void removeObject(const std::string& key);

    // A boolean, or a number read as a boolean (non-zero); absent for other types.
    std::optional<bool> boolForKey(std::string_view key) const;
    // An unsigned 64-bit number; absent for other types and for negative or fractional numbers.
    std::optional<std::uint64_t> unsigned64ForKey(std::string_view key) const;

    // Writes the defaults to storage. When another process changed the file since it was last
    // read here, its values are taken first and this process's unsynchronised changes put on top.
    bool synchronize();
    // Takes another process's changes, keeping this process's unsynchronised ones.
    void reloadIfChanged();
    // Moves whenever a value may have changed (set, removed or read again from the file): what is
    // worked out from the defaults needs working out again only then.
    std::uint64_t changes() const { return changes_; }
    // Why the file could not be read or saved (it is then kept as it is); absent when fine.
    std::optional<std::string> problem() const;

    // Holds back every synchronize() for its lifetime, so that the defaults land only after
    // what they go with (the state file) was saved. commit() then writes them; a hold that ends
    // without one withholds what changed meanwhile: the process keeps the new values, but every
    // write puts the old ones on disk until releaseWithheld() (once the state was saved after
    // all). Inside an outer hold a hold does nothing; the outer one decides.
    class Hold {
    public:
        explicit Hold(UserDefaults& defaults);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        bool commit();

    private:
        UserDefaults* defaults_;  // null once decided, or when an outer hold decides
        nlohmann::json before_;   // the values when the hold began
    };
    // Lets withheld values go to disk, writing them at once; true when there were none or they
    // were written.
    bool releaseWithheld();

private:
    void loadFromDisk();
    void withhold(const nlohmann::json& before);
    // What goes to disk: the values, withheld ones as they were.
    nlohmann::json onDisk() const;

    std::unique_ptr<StoredFile> file_;
    Validator validator_;
    nlohmann::json values_ = nlohmann::json::object();
    std::uint64_t changes_ = 0;
    std::set<std::string, std::less<>> dirty_;
    std::set<std::string, std::less<>> removed_;
    bool held_ = false;
    bool syncAsked_ = false;  // synchronize() was called during the hold
    // Per withheld key, its value on disk (absent: none).
    std::map<std::string, std::optional<nlohmann::json>, std::less<>> withheld_;
};

}  // namespace quorvel
