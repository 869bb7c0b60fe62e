// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One in-process notification: its name, the posting object and, for the plan change, a number.
struct Notification {
    std::string_view name;
    const void* object = nullptr;
    std::optional<std::uint64_t> number;
};

// A small synchronous notification centre: post() calls every matching observer before returning.
// Observers stay registered as long as the Registration they were given lives.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    class Registration {
    public:
        Registration() = default;
        Registration(Registration&&) noexcept = default;
        // Taking another registration ends the one held so far.
        Registration& operator=(Registration&& other) noexcept;
        ~Registration();
        void reset();
        // Whether the observer is still registered (reset() and the centre's end unregister it).
        bool active() const;

    private:
        friend class NotificationCenter;
        std::weak_ptr<struct ObserverList> list_;
        std::uint64_t id_ = 0;
    };

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // Observe notifications with this name from any object (sender null) or from one object.
    [[nodiscard]] Registration addObserver(std::string name, Handler handler, const void* sender = nullptr);
    void post(const Notification& notification);
    void post(std::string_view name, const void* object) { post(Notification{name, object, std::nullopt}); }

private:
    std::shared_ptr<ObserverList> list_;
};

}  // namespace quorvel
