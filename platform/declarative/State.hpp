#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "platform/core/SubscriberList.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::platform {

// What every State shares: who to tell of a change, and noting reads.
class StateBase {
public:
    StateBase(const StateBase&) = delete;
    StateBase& operator=(const StateBase&) = delete;

protected:
    StateBase() = default;
    ~StateBase() = default;
    // Tells the innermost StateTracking of this thread, if any.
    void noteRead() const;
    void notifyChange() const { changes_->emit(); }

private:
    friend class StateTracking;
    std::shared_ptr<SubscriberList<>> changes_ = std::make_shared<SubscriberList<>>();
};

// A value views depend on (SwiftUI's State): a hosting view that read it
// while working out its body updates itself after each change of it. Main
// thread only.
template <class T>
class State : public StateBase {
public:
    explicit State(T initial) : value_(std::move(initial)) {}

    const T& value() const {
        noteRead();
        return value_;
    }
    // Setting an equal value changes nothing.
    void set(T value) {
        if constexpr (std::equality_comparable<T>) {
            if (value == value_) return;
        }
        value_ = std::move(value);
        notifyChange();
    }

private:
    T value_;
};

// While it lives, subscribes `onChange` to each State read on this thread
// (once each); the subscriptions are handed over by take. Nests: only the
// innermost tracking hears of reads. Main thread only.
class StateTracking {
public:
    explicit StateTracking(std::function<void()> onChange);
    ~StateTracking();
    StateTracking(const StateTracking&) = delete;
    StateTracking& operator=(const StateTracking&) = delete;

    std::vector<Subscription> take() { return std::move(subscriptions_); }

private:
    friend class StateBase;
    void noteRead(const StateBase& state);

    std::function<void()> onChange_;
    std::set<const void*> seen_;
    std::vector<Subscription> subscriptions_;
    StateTracking* outer_;
};

}  // namespace zelvana::platform
