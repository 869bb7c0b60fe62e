// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NotificationCenter.hpp"

#include <algorithm>

namespace quorvel {

struct ObserverEntry {
    std::uint64_t id;
    std::string name;
    const void* sender;
    std::shared_ptr<NotificationCenter::Handler> handler;
};

struct ObserverList {
    std::vector<ObserverEntry> entries;
    std::uint64_t nextId = 1;
};

NotificationCenter::Registration::~Registration()
{
    reset();
}

void NotificationCenter::Registration::reset()
{
    if (auto list = list_.lock()) {
        std::erase_if(list->entries, [id = id_](const ObserverEntry& e) { return e.id == id; });
    }
    list_.reset();
}

NotificationCenter::Registration& NotificationCenter::Registration::operator=(Registration&& other) noexcept
{
    if (this != &other) {
        reset();
        list_ = std::move(other.list_);
        id_ = other.id_;
    }
    return *this;
}

bool NotificationCenter::Registration::active() const
{
    const auto list = list_.lock();
    return list && std::any_of(list->entries.begin(), list->entries.end(),
                               [id = id_](const ObserverEntry& e) { return e.id == id; });
}

NotificationCenter::NotificationCenter() : list_(std::make_shared<ObserverList>()) {}

NotificationCenter::~NotificationCenter() = default;

NotificationCenter::Registration NotificationCenter::addObserver(std::string name, Handler handler,
                                                                 const void* sender)
{
    Registration reg;
    reg.list_ = list_;
    reg.id_ = list_->nextId++;
    list_->entries.push_back(
        ObserverEntry{reg.id_, std::move(name), sender, std::make_shared<Handler>(std::move(handler))});
    return reg;
}

void NotificationCenter::post(const Notification& notification)
{
    // Observers may register or unregister while being notified: walk a snapshot, and skip
    // entries that were removed meanwhile.
    const std::vector<ObserverEntry> snapshot = list_->entries;
    for (const ObserverEntry& e : snapshot) {
        if (e.name != notification.name || (e.sender != nullptr && e.sender != notification.object)) {
            continue;
        }
        const bool stillRegistered = std::any_of(list_->entries.begin(), list_->entries.end(),
                                                 [&](const ObserverEntry& live) { return live.id == e.id; });
        if (stillRegistered) {
            (*e.handler)(notification);
        }
    }
}

}  // namespace quorvel
