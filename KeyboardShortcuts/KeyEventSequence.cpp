#include "KeyboardShortcuts/KeyEventSequence.hpp"

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "KeyboardShortcuts/NamedShortcuts.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::keyboardshortcuts {

void KeyEventSequence::Buffer::push(EventType type) {
    if (finished || (only && *only != type)) return;
    if (consumer) {
        consumer(type);
    } else {
        events.push_back(type);
    }
}

KeyEventSequence::KeyEventSequence(Name name, std::optional<EventType> only)
    : name_(std::move(name)), buffer_(std::make_unique<Buffer>()) {
    buffer_->only = only;
    platform::mainQueue().async([name = name_, weak = buffer_->weak.ref()] {
        Buffer* buffer = weak.get();
        if (!buffer || buffer->finished) return;
        auto feeder = [weak](EventType type) {
            if (Buffer* live = weak.get()) live->push(type);
        };
        buffer->feeders = NamedShortcuts::shared().addFeeders(name, feeder, feeder);
        if (auto shortcut = getShortcut(name)) NamedShortcuts::shared().hold(name, *shortcut);
    });
}

KeyEventSequence::~KeyEventSequence() {
    finish();
}

KeyEventSequence& KeyEventSequence::operator=(KeyEventSequence&& other) noexcept {
    if (this == &other) return *this;
    finish();
    name_ = std::move(other.name_);
    buffer_ = std::move(other.buffer_);
    return *this;
}

std::optional<EventType> KeyEventSequence::next() {
    platform::assertMainThread();
    if (!buffer_ || buffer_->events.empty()) return std::nullopt;
    auto type = buffer_->events.front();
    buffer_->events.pop_front();
    return type;
}

void KeyEventSequence::onEvent(Consumer consumer) {
    platform::assertMainThread();
    if (!buffer_) return;
    buffer_->consumer = std::move(consumer);
    while (auto type = next()) buffer_->consumer(*type);
}

void KeyEventSequence::finish() {
    platform::assertMainThread();
    // A moved-from sequence has no buffer and nothing to end.
    if (!buffer_ || buffer_->finished) return;
    buffer_->finished = true;
    // The feeders go on the main queue, as they came.
    platform::mainQueue().async([feeders = std::make_shared<platform::Subscription>(
                                     std::move(buffer_->feeders))] { feeders->cancel(); });
}

bool KeyEventSequence::isFinished() const {
    return !buffer_ || buffer_->finished;
}

}  // namespace zelvana::keyboardshortcuts
