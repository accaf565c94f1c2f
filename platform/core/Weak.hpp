#pragma once

#include <concepts>
#include <memory>
#include <utility>

#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

template <class T>
class WeakFactory;

// "Call me if I still exist": a reference that goes empty when its object is destroyed.
// Capture it (never raw `this`) in work that may run later; get() it on the object's own
// thread at the moment of use and do not keep the pointer past that call. A reference to
// a class converts to one to any of its public bases, so one factory serves every
// interface its owner hands out.
template <class T>
class WeakRef {
public:
    WeakRef() = default;
    // Made on the object's thread; an empty reference converts to an empty one.
    template <class U>
    requires std::convertible_to<U*, T*> WeakRef(
        const WeakRef<U>& other) {  // implicit, as U* converts to T*
        if (other.alive_ && *other.alive_) {
            alive_ = other.alive_;
            object_ = other.object_;
        }
    }

    T* get() const {
        assertMainThread();
        return alive_ && *alive_ ? object_ : nullptr;
    }
    explicit operator bool() const { return get() != nullptr; }

private:
    template <class>
    friend class WeakRef;
    friend class WeakFactory<T>;
    WeakRef(std::shared_ptr<const bool> alive, T* object)
        : alive_(std::move(alive)), object_(object) {}

    // Shared with the factory, which clears it when the object goes.
    std::shared_ptr<const bool> alive_;
    T* object_ = nullptr;
};

// Hands out weak references to its owner. Make it the owner's last member, so the references
// go empty before any other member is destroyed.
template <class T>
class WeakFactory {
public:
    explicit WeakFactory(T* owner) : owner_(owner) {}
    WeakFactory(const WeakFactory&) = delete;
    WeakFactory& operator=(const WeakFactory&) = delete;
    ~WeakFactory() { *alive_ = false; }

    WeakRef<T> ref() const { return WeakRef<T>(alive_, owner_); }
    // Empties every reference handed out so far; later ones work again.
    void invalidate() {
        *alive_ = false;
        alive_ = std::make_shared<bool>(true);
    }

private:
    T* owner_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace zelvana::platform
