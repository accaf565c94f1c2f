#include "platform/input/EventSource.hpp"

#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/simulator/Keyboard.hpp"

namespace zelvana::platform {

std::shared_ptr<EventSource> EventSource::create(StateID state) {
    return std::shared_ptr<EventSource>(new EventSource(state));
}

ModifierFlags EventSource::flags() const {
    if (state_ != StateID::privateState) return Keyboard::shared().modifierFlags();
    std::lock_guard lock(mutex_);
    return privateFlags_;
}

ModifierFlags EventSource::modifierFlagOfKey(std::uint16_t keyCode) {
    switch (keyCode) {
        case kVK_RightCommand:
        case kVK_Command:
            return Modifier::command;
        case kVK_Shift:
        case kVK_RightShift:
            return Modifier::shift;
        case kVK_CapsLock:
            return Modifier::capsLock;
        case kVK_Option:
        case kVK_RightOption:
            return Modifier::option;
        case kVK_Control:
        case kVK_RightControl:
            return Modifier::control;
        case kVK_Function:
            return Modifier::function;
        default:
            return {};
    }
}

ModifierFlags EventSource::noteKey(std::uint16_t keyCode, KeyTransition transition) {
    const ModifierFlags flag = modifierFlagOfKey(keyCode);
    if (state_ != StateID::privateState) {
        const ModifierFlags held = Keyboard::shared().modifierFlags();
        return transition == KeyTransition::down ? held | flag : held.without(flag);
    }
    std::lock_guard lock(mutex_);
    if (transition == KeyTransition::down) {
        privateFlags_ |= flag;
    } else {
        privateFlags_ = privateFlags_.without(flag);
    }
    return privateFlags_;
}

std::optional<Event> createKeyboardEvent(const std::shared_ptr<EventSource>& source,
                                         std::uint16_t keyCode, KeyTransition transition) {
    if (!source) return std::nullopt;
    Event event;
    event.keyCode = keyCode;
    const bool isModifierKey = !EventSource::modifierFlagOfKey(keyCode).isEmpty();
    if (isModifierKey) {
        event.type = EventType::flagsChanged;
        event.modifierFlags = source->noteKey(keyCode, transition);
    } else {
        event.type = transition == KeyTransition::down ? EventType::keyDown : EventType::keyUp;
        event.modifierFlags = source->flags();
    }
    event.timestamp = clock().uptime();
    return event;
}

void postEvent(EventTapLocation, const Event& event) {
    platform::assertMainThread();
    auto& keyboard = Keyboard::shared();
    switch (event.type) {
        case EventType::keyDown:
            keyboard.keyDown(event.keyCode, event.modifierFlags);
            return;
        case EventType::keyUp:
            keyboard.keyUp(event.keyCode, event.modifierFlags);
            return;
        case EventType::flagsChanged:
            keyboard.flagsChanged(event.modifierFlags, event.keyCode);
            return;
        default:
            EventTap::post(event);
            return;
    }
}

}  // namespace zelvana::platform
