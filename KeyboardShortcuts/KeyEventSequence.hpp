#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "KeyboardShortcuts/EventType.hpp"
#include "KeyboardShortcuts/Name.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::keyboardshortcuts {

// The key-down and key-up events of one name, buffered without limit until
// the consumer takes them. Hooking up to the name happens on the main queue
// shortly after creation; ending (finish or destruction) is queued the same
// way. Main thread only.
class KeyEventSequence {
public:
    using Consumer = std::function<void(EventType)>;

    KeyEventSequence(Name name, std::optional<EventType> only);
    ~KeyEventSequence();
    KeyEventSequence(KeyEventSequence&&) noexcept = default;
    KeyEventSequence& operator=(KeyEventSequence&&) noexcept;
    KeyEventSequence(const KeyEventSequence&) = delete;
    KeyEventSequence& operator=(const KeyEventSequence&) = delete;

    // The oldest buffered event; none when the buffer is empty.
    std::optional<EventType> next();
    // Hands the buffered events to `consumer` now and later ones as they come.
    void onEvent(Consumer consumer);
    // Ends the sequence; nothing more arrives.
    void finish();
    bool isFinished() const;

    const Name& name() const { return name_; }

private:
    struct Buffer {
        std::deque<EventType> events;
        std::optional<EventType> only;
        Consumer consumer;
        bool finished = false;
        platform::Subscription feeders;
        platform::WeakFactory<Buffer> weak{this};
        void push(EventType type);
    };

    Name name_;
    std::unique_ptr<Buffer> buffer_;
};

}  // namespace zelvana::keyboardshortcuts
