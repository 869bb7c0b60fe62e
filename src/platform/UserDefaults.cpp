// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UserDefaults.hpp"

#include "platform/ArchiveDecoder.hpp"

#include <cmath>
#include <utility>

namespace quorvel {

UserDefaults::UserDefaults(std::optional<std::filesystem::path> file, Validator validator)
    : validator_(std::move(validator))
{
    if (file) {
        file_ = std::make_unique<StoredFile>(std::move(*file));
        loadFromDisk();
    }
}

void UserDefaults::loadFromDisk()
{
    nlohmann::json fresh = nlohmann::json::object();
    if (std::optional<std::string> bytes = file_->read()) {
        nlohmann::json parsed = nlohmann::json::parse(*bytes, nullptr, false);
        std::optional<std::string> refused;
        if (parsed.is_discarded()) {
            refused = "not JSON";
        } else if (!parsed.is_object()) {
            refused = "not a JSON object";
        } else if (validator_) {
            refused = validator_(parsed);
        }
        if (refused) {
            file_->moveAside(*refused);
        } else {
            fresh = std::move(parsed);
        }
    }
    // Unsynchronised local changes, and withheld ones, win over what is on disk.
    for (auto& [key, old] : withheld_) {
        const auto there = fresh.find(key);
        old = there == fresh.end() ? std::nullopt : std::optional<nlohmann::json>(*there);
        if (auto it = values_.find(key); it != values_.end()) {
            fresh[key] = *it;
        } else {
            fresh.erase(key);
        }
    }
    for (const std::string& key : dirty_) {
        if (auto it = values_.find(key); it != values_.end()) {
            fresh[key] = *it;
        }
    }
    for (const std::string& key : removed_) {
        fresh.erase(key);
    }
    values_ = std::move(fresh);
    ++changes_;
}

const nlohmann::json* UserDefaults::objectForKey(std::string_view key) const
{
    auto it = values_.find(key);
    return it == values_.end() ? nullptr : &*it;
}

void UserDefaults::setObject(const std::string& key, nlohmann::json value)
{
    values_[key] = std::move(value);
    ++changes_;
    dirty_.insert(key);
    removed_.erase(key);
}

void UserDefaults::removeObject(const std::string& key)
{
    values_.erase(key);
    ++changes_;
    dirty_.erase(key);
    removed_.insert(key);
}

std::optional<bool> UserDefaults::boolForKey(std::string_view key) const
{
    const nlohmann::json* v = objectForKey(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    if (v->is_boolean()) {
        return v->get<bool>();
    }
    if (v->is_number()) {
        return v->get<double>() != 0.0;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> UserDefaults::unsigned64ForKey(std::string_view key) const
{
    const nlohmann::json* v = objectForKey(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    return ArchiveDecoder::unsignedValue(*v);
}

bool UserDefaults::synchronize()
{
    if (held_) {
        syncAsked_ = true;
        return true;
    }
    if (!file_) {
        dirty_.clear();
        removed_.clear();
        return true;
    }
    if (file_->changedSinceLastSync()) {
        loadFromDisk();
    }
    if (!file_->write(onDisk().dump(2) + "\n")) {
        return false;  // the changes stay dirty and go out with the next synchronisation
    }
    dirty_.clear();
    removed_.clear();
    return true;
}

std::optional<std::string> UserDefaults::problem() const
{
    return file_ ? file_->problem() : std::nullopt;
}

void UserDefaults::reloadIfChanged()
{
    if (file_ && file_->changedSinceLastSync()) {
        loadFromDisk();
    }
}

UserDefaults::Hold::Hold(UserDefaults& defaults) : defaults_(defaults.held_ ? nullptr : &defaults)
{
    if (defaults_ != nullptr) {
        before_ = defaults.values_;
        defaults_->held_ = true;
        defaults_->syncAsked_ = false;
    }
}

UserDefaults::Hold::~Hold()
{
    if (UserDefaults* d = std::exchange(defaults_, nullptr)) {
        d->held_ = false;
        d->withhold(before_);
    }
}

bool UserDefaults::Hold::commit()
{
    UserDefaults* d = std::exchange(defaults_, nullptr);
    if (d == nullptr) {
        return true;
    }
    d->held_ = false;
    if (!d->withheld_.empty()) {
        return d->releaseWithheld();
    }
    return !d->syncAsked_ || d->synchronize();
}

void UserDefaults::withhold(const nlohmann::json& before)
{
    const auto changed = [&](const std::string& key) {
        const auto now = values_.find(key);
        const auto then = before.find(key);
        return (now == values_.end()) != (then == before.end()) || (now != values_.end() && *now != *then);
    };
    const auto keep = [&](const std::string& key) {
        if (!withheld_.contains(key) && changed(key)) {
            const auto then = before.find(key);
            withheld_[key] = then == before.end() ? std::nullopt : std::optional<nlohmann::json>(*then);
        }
    };
    for (const auto& [key, value] : values_.items()) {
        keep(key);
    }
    for (const auto& [key, value] : before.items()) {
        keep(key);
    }
}

bool UserDefaults::releaseWithheld()
{
    if (withheld_.empty()) {
        return true;
    }
    for (const auto& [key, old] : withheld_) {
        if (values_.contains(key)) {
            dirty_.insert(key);
        } else {
            removed_.insert(key);
        }
    }
    withheld_.clear();
    return synchronize();
}

nlohmann::json UserDefaults::onDisk() const
{
    nlohmann::json out = values_;
    for (const auto& [key, old] : withheld_) {
        if (old) {
            out[key] = *old;
        } else {
            out.erase(key);
        }
    }
    return out;
}

}  // namespace quorvel
