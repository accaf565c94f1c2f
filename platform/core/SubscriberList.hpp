#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/core/Subscription.hpp"

namespace zelvana::platform {

// The callbacks of one event, in the order they were added. Emitting is safe when a callback
// adds or removes entries, itself included: an entry removed during an emission is never called
// afterwards, and one added during it is first called by the next emission. Not thread-safe:
// each list belongs to one thread (its owner's).
template <class... Args>
class SubscriberList {
public:
    using Callback = std::function<void(Args...)>;

    SubscriberList() = default;
    SubscriberList(const SubscriberList&) = delete;
    SubscriberList& operator=(const SubscriberList&) = delete;
    ~SubscriberList() {
        for (auto& entry : state_->entries) entry->removed = true;
    }

    // The returned token removes the entry; it may outlive the list.
    Subscription add(Callback callback) {
        auto entry = std::make_shared<Entry>(Entry{std::move(callback), false});
        state_->entries.push_back(entry);
        return Subscription(
            [weakState = std::weak_ptr<State>(state_), weakEntry = std::weak_ptr<Entry>(entry)] {
                auto state = weakState.lock();
                auto entry = weakEntry.lock();
                if (!state || !entry) return;
                entry->removed = true;
                std::erase(state->entries, entry);
            });
    }

    void emit(Args... args) const {
        // A snapshot, so additions and removals during the calls cannot invalidate the walk;
        // each entry is kept alive while it runs.
        const auto snapshot = state_->entries;
        for (const auto& entry : snapshot) {
            if (entry->removed) continue;
            entry->callback(args...);
        }
    }

    std::size_t size() const { return state_->entries.size(); }
    bool empty() const { return state_->entries.empty(); }

private:
    struct Entry {
        Callback callback;
        bool removed = false;
    };
    struct State {
        std::vector<std::shared_ptr<Entry>> entries;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace zelvana::platform
