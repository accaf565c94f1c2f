#pragma once

#include <functional>
#include <utility>

namespace zelvana::platform {

// A registration (observer, monitor, callback, timer) held as an object: destroying it,
// or calling cancel(), ends the registration. Movable, not copyable; an empty one does nothing.
class [[nodiscard]] Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    ~Subscription() { cancel(); }

    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    bool isActive() const { return static_cast<bool>(cancel_); }
    void cancel() {
        // Cleared before the call, so a cancel that destroys this object's owner is safe.
        if (auto cancel = std::exchange(cancel_, {})) cancel();
    }
    // Keeps the registration for good (the owner outlives every emitter).
    void release() { cancel_ = {}; }

private:
    std::function<void()> cancel_;
};

}  // namespace zelvana::platform
