#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/core/Subscription.hpp"

namespace zelvana::platform {

// Stands in for a mutex where a list belongs to one thread.
struct NoMutex {
    void lock() {}
    void unlock() {}
};

// The callbacks of one event, in the order they were added. Emitting is safe when a callback
// adds or removes entries, itself included: an entry removed during an emission is never called
// afterwards, and one added during it is first called by the next emission. Callbacks run with
// no lock held. With NoMutex the list belongs to one thread (its owner's); with std::mutex
// entries may be added, removed and emitted from any thread.
template <class Mutex, class... Args>
class BasicSubscriberList {
public:
    using Callback = std::function<void(Args...)>;

    BasicSubscriberList() = default;
    BasicSubscriberList(const BasicSubscriberList&) = delete;
    BasicSubscriberList& operator=(const BasicSubscriberList&) = delete;
    ~BasicSubscriberList() { clear(); }

    // The returned token removes the entry; it may outlive the list.
    Subscription add(Callback callback) {
        auto entry = std::make_shared<Entry>(std::move(callback));
        {
            std::lock_guard lock(state_->mutex);
            state_->entries.push_back(entry);
        }
        return Subscription(
            [weakState = std::weak_ptr<State>(state_), weakEntry = std::weak_ptr<Entry>(entry)] {
                auto entry = weakEntry.lock();
                if (!entry) return;
                entry->removed = true;
                if (auto state = weakState.lock()) {
                    std::lock_guard lock(state->mutex);
                    std::erase(state->entries, entry);
                }
            });
    }

    void emit(Args... args) const {
        // A snapshot, so additions and removals during the calls cannot invalidate the walk;
        // each entry is kept alive while it runs.
        std::vector<std::shared_ptr<Entry>> snapshot;
        {
            std::lock_guard lock(state_->mutex);
            snapshot = state_->entries;
        }
        for (const auto& entry : snapshot) {
            if (entry->removed) continue;
            entry->callback(args...);
        }
    }

    // Ends every entry; their tokens then do nothing.
    void clear() {
        std::lock_guard lock(state_->mutex);
        for (auto& entry : state_->entries) entry->removed = true;
        state_->entries.clear();
    }

    std::size_t size() const {
        std::lock_guard lock(state_->mutex);
        return state_->entries.size();
    }
    bool empty() const { return size() == 0; }

private:
    struct Entry {
        explicit Entry(Callback callback) : callback(std::move(callback)) {}
        Callback callback;
        std::atomic<bool> removed{false};
    };
    struct State {
        mutable Mutex mutex;
        std::vector<std::shared_ptr<Entry>> entries;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

// A list that belongs to one thread.
template <class... Args>
using SubscriberList = BasicSubscriberList<NoMutex, Args...>;
// A list whose entries may be added, removed and emitted from any thread.
template <class... Args>
using ConcurrentSubscriberList = BasicSubscriberList<std::mutex, Args...>;

}  // namespace zelvana::platform
