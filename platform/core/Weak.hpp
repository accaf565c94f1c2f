#pragma once

#include <memory>

namespace zelvana::platform {

template <class T>
class WeakFactory;

// "Call me if I still exist": a reference that goes empty when its object is destroyed.
// Capture it (never raw `this`) in work that may run later; get() it on the object's own
// thread at the moment of use and do not keep the pointer past that call.
template <class T>
class WeakRef {
public:
    WeakRef() = default;
    T* get() const {
        const auto cell = cell_.lock();
        return cell ? *cell : nullptr;
    }
    explicit operator bool() const { return get() != nullptr; }

private:
    friend class WeakFactory<T>;
    explicit WeakRef(std::weak_ptr<T*> cell) : cell_(std::move(cell)) {}
    std::weak_ptr<T*> cell_;
};

// Hands out weak references to its owner. Make it the owner's last member, so the references
// go empty before any other member is destroyed.
template <class T>
class WeakFactory {
public:
    explicit WeakFactory(T* owner) : owner_(owner), cell_(std::make_shared<T*>(owner)) {}
    WeakFactory(const WeakFactory&) = delete;
    WeakFactory& operator=(const WeakFactory&) = delete;
    ~WeakFactory() { *cell_ = nullptr; }

    WeakRef<T> ref() const { return WeakRef<T>(cell_); }
    // Empties every reference handed out so far; later ones work again.
    void invalidate() {
        *cell_ = nullptr;
        cell_ = std::make_shared<T*>(owner_);
    }

private:
    T* owner_;
    std::shared_ptr<T*> cell_;
};

}  // namespace zelvana::platform
