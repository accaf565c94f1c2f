#include "Tools/KeyPresser.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

namespace {

using platform::EventSource;
using platform::KeyTransition;
using platform::ModifierFlags;

std::optional<platform::Event> keyEvent(const std::shared_ptr<EventSource>& source,
                                        std::uint16_t keyCode, KeyTransition transition,
                                        std::optional<ModifierFlags> flags) {
    auto event = platform::createKeyboardEvent(source, keyCode, transition);
    if (event && flags) event->modifierFlags = *flags;
    return event;
}

void post(const std::optional<platform::Event>& event) {
    if (event) platform::postEvent(platform::EventTapLocation::hid, *event);
}

std::optional<ModifierFlags> nonZero(std::optional<ModifierFlags> flags) {
    return flags && !flags->isEmpty() ? flags : std::nullopt;
}

}  // namespace

KeyPresser::KeyPresser() : eventSource_(EventSource::create(EventSource::StateID::privateState)) {}

KeyPresser& KeyPresser::shared() {
    platform::assertMainThread();
    static KeyPresser instance;
    return instance;
}

const std::shared_ptr<EventSource>& KeyPresser::sharedEventSource() {
    static const auto source = EventSource::create(EventSource::StateID::privateState);
    return source;
}

void KeyPresser::press(std::uint16_t keyCode, std::optional<ModifierFlags> flags) const {
    press(keyCode, flags, FlagsOnKeyUp::yes);
}

void KeyPresser::press(std::uint16_t keyCode, std::optional<ModifierFlags> flags,
                       FlagsOnKeyUp flagsOnKeyUp) const {
    const auto downFlags = nonZero(flags);
    const auto down = keyEvent(eventSource_, keyCode, KeyTransition::down, downFlags);
    auto up = platform::createKeyboardEvent(eventSource_, keyCode, KeyTransition::up);
    if (up && downFlags && flagsOnKeyUp == FlagsOnKeyUp::yes) up->modifierFlags = *downFlags;
    post(down);
    post(up);
}

void KeyPresser::press(const KeyPresserKey& key, KeyDirections direction, ForceFlags force) {
    platform::assertMainThread();
    const auto flags = force == ForceFlags::yes ? key.modifierFlags : nonZero(key.modifierFlags);
    std::optional<platform::Event> down;
    std::optional<platform::Event> up;
    if (direction.contains(KeyDirection::down)) {
        down = keyEvent(sharedEventSource(), key.keyCode, KeyTransition::down, flags);
    }
    if (direction.contains(KeyDirection::up)) {
        up = keyEvent(sharedEventSource(), key.keyCode, KeyTransition::up, flags);
    }
    post(down);
    post(up);
}

void KeyPresser::press(const KeyPresserKey& key) {
    platform::assertMainThread();
    press(key, kKeyDirectionBoth, ForceFlags::no);
}

void KeyPresser::pressCommand(KeyDirections direction) {
    platform::assertMainThread();
    press(KeyPresserKey{platform::kVK_Command, std::nullopt}, direction, ForceFlags::no);
}

void KeyPresser::releaseCapsLock() {
    platform::assertMainThread();
    post(platform::createKeyboardEvent(sharedEventSource(), platform::kVK_CapsLock,
                                       KeyTransition::up));
}

}  // namespace zelvana::tools
