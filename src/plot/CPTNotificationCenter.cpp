#include "plot/CPTNotificationCenter.hpp"

#include <algorithm>

namespace quorvel {

void CPTNotificationCenter::Observation::reset()
{
    if (auto entry = entry_.lock(); entry && center_ != nullptr) {
        center_->remove(entry);
    }
    entry_.reset();
    center_ = nullptr;
}

CPTNotificationCenter::Observation CPTNotificationCenter::addObserver(std::string name, const void* object,
                                                                      Handler handler)
{
    auto entry = std::make_shared<Observation::Entry>(Observation::Entry{std::move(name), object, std::move(handler)});
    entries_.push_back(entry);
    return Observation(this, entry);
}

void CPTNotificationCenter::post(const std::string& name, const void* object)
{
    // Copy first: a handler may add or remove observations while we deliver.
    const auto snapshot = entries_;
    for (const auto& entry : snapshot) {
        const bool stillRegistered = std::find(entries_.begin(), entries_.end(), entry) != entries_.end();
        if (stillRegistered && entry->name == name && (entry->object == nullptr || entry->object == object)) {
            entry->handler(object);
        }
    }
}

void CPTNotificationCenter::remove(const std::shared_ptr<Observation::Entry>& entry)
{
    entries_.erase(std::remove(entries_.begin(), entries_.end(), entry), entries_.end());
}

}  // namespace quorvel
