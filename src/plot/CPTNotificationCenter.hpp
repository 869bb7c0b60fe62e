#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

// Synchronous in-engine notifications (a name and the posting object). Each graph owns one;
// its plot spaces and its hosting view talk through it. Observations are RAII tokens, so an
// observer that goes away can never be called afterwards.
class CPTNotificationCenter {
public:
    using Handler = std::function<void(const void* object)>;

    class Observation {
    public:
        Observation() = default;
        Observation(Observation&&) noexcept = default;
        Observation& operator=(Observation&& other) noexcept
        {
            if (this != &other) {
                reset();
                center_ = other.center_;
                entry_ = std::move(other.entry_);
                other.center_ = nullptr;
            }
            return *this;
        }
        ~Observation() { reset(); }
        void reset();
        bool active() const { return !entry_.expired(); }

    private:
        friend class CPTNotificationCenter;
        struct Entry;
        Observation(CPTNotificationCenter* center, std::weak_ptr<Entry> entry) : center_(center), entry_(std::move(entry)) {}
        CPTNotificationCenter* center_ = nullptr;
        std::weak_ptr<Entry> entry_;
    };

    CPTNotificationCenter() = default;
    CPTNotificationCenter(const CPTNotificationCenter&) = delete;
    CPTNotificationCenter& operator=(const CPTNotificationCenter&) = delete;

    // Observe `name` posted by `object` (nullptr: by any object).
    [[nodiscard]] Observation addObserver(std::string name, const void* object, Handler handler);
    void post(const std::string& name, const void* object);

private:
    void remove(const std::shared_ptr<Observation::Entry>& entry);
    std::vector<std::shared_ptr<Observation::Entry>> entries_;
};

struct CPTNotificationCenter::Observation::Entry {
    std::string name;
    const void* object;
    Handler handler;
};

}  // namespace quorvel
