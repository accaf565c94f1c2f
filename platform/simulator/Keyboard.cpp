#include "platform/simulator/Keyboard.hpp"

#include <memory>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Panel.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/input/EventTap.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/system/SystemVersion.hpp"

namespace zelvana::platform {

namespace {

// The Carbon modifiers a raw key event carries: the four of a shortcut,
// plus caps lock.
std::uint32_t rawKeyModifiers(ModifierFlags flags) {
    return carbonModifiers(flags) | (flags.contains(Modifier::capsLock) ? alphaLock : 0);
}

EventKind rawKeyKind(EventType type, bool isRepeat) {
    switch (type) {
        case EventType::keyDown:
            return isRepeat ? kEventRawKeyRepeat : kEventRawKeyDown;
        case EventType::keyUp:
            return kEventRawKeyUp;
        default:
            return kEventRawKeyModifiersChanged;
    }
}

// A layout that is gone or cannot translate gives no text.
std::string translated(std::uint16_t keyCode, std::uint32_t modifierKeyState) {
    const KeyboardLayout* layout = KeyboardLayout::currentASCIICapable();
    if (!layout) return "";
    const auto translation = layout->translate(keyCode, KeyAction::down, modifierKeyState);
    return translation.status == noErr ? translation.characters : "";
}

// A non-activating panel of ours that is key takes the keys, while another
// application stays active.
bool hasKeyNonactivatingPanel() {
    const auto* panel = dynamic_cast<const Panel*>(Window::keyWindow());
    return panel && panel->isNonactivating();
}

std::string composed(std::uint16_t keyCode, std::uint32_t modifierKeyState,
                     std::uint32_t& deadKeyState) {
    const KeyboardLayout* layout = KeyboardLayout::currentASCIICapable();
    if (!layout) return "";
    const auto translation =
        layout->translate(keyCode, KeyAction::down, modifierKeyState, deadKeyState);
    return translation.status == noErr ? translation.characters : "";
}

}  // namespace

Keyboard& Keyboard::shared() {
    platform::assertMainThread();
    static Keyboard instance;
    return instance;
}

void Keyboard::keyDown(std::uint16_t keyCode, ModifierFlags flags) {
    platform::assertMainThread();
    flags_ = flags;
    if (auto held = down_.find(keyCode); held != down_.end()) {
        routeAgain(held->second, EventType::keyDown, keyCode, flags, Repeat::yes);
        return;
    }
    down_[keyCode] = route(EventType::keyDown, keyCode, flags);
}

void Keyboard::keyUp(std::uint16_t keyCode, ModifierFlags flags) {
    platform::assertMainThread();
    flags_ = flags;
    auto held = down_.find(keyCode);
    if (held == down_.end()) {
        route(EventType::keyUp, keyCode, flags);
        return;
    }
    const Down down = held->second;
    down_.erase(held);
    routeAgain(down, EventType::keyUp, keyCode, flags, Repeat::no);
}

void Keyboard::flagsChanged(ModifierFlags flags, std::uint16_t keyCode) {
    platform::assertMainThread();
    flags_ = flags;
    deliverToFrontmost(makeEvent(EventType::flagsChanged, keyCode, flags, Repeat::no),
                       frontmostTaker());
}

void Keyboard::press(std::uint16_t keyCode, ModifierFlags flags) {
    platform::assertMainThread();
    keyDown(keyCode, flags);
    keyUp(keyCode, flags);
}

void Keyboard::resetForTesting() {
    platform::assertMainThread();
    flags_ = {};
    down_.clear();
    deadKeyState_ = 0;
}

Event Keyboard::makeEvent(EventType type, std::uint16_t keyCode, ModifierFlags flags,
                          Repeat repeat) {
    std::string characters;
    std::string ignoringModifiers;
    if (type != EventType::flagsChanged) {
        // Option types its own characters, dead keys among them; with
        // command or control held the key is a shortcut, whose characters
        // Option leaves alone, and no dead key waits.
        const std::uint32_t raw = rawKeyModifiers(flags);
        const std::uint32_t typing = (raw & (cmdKey | controlKey)) == 0 ? optionKey : 0;
        const std::uint32_t state = (raw & (shiftKey | alphaLock | typing)) >> 8;
        // Only key downs go through the dead-key state; a key up repeats the
        // key's own text.
        characters = type == EventType::keyDown ? composed(keyCode, state, deadKeyState_)
                                                : translated(keyCode, state);
        ignoringModifiers = translated(keyCode, (carbonModifiers(flags) & shiftKey) >> 8);
    }
    Event event = Event::keyEvent(type, keyCode, flags, characters, ignoringModifiers);
    event.isARepeat = repeat == Repeat::yes;
    return event;
}

Keyboard::Down Keyboard::route(EventType type, std::uint16_t keyCode, ModifierFlags flags) {
    const std::uint32_t carbon = carbonModifiers(flags);
    if (SymbolicHotKeys::shared().takes(keyCode, carbon)) {
        if (type == EventType::keyDown) SymbolicHotKeys::shared().recordPress(keyCode, carbon);
        return {Taker::system, std::nullopt};
    }
    if (auto hotKey = HotKeyCenter::shared().hotKeyFor(keyCode, carbon)) {
        sendHotKeyEvent(type == EventType::keyDown ? kEventHotKeyPressed : kEventHotKeyReleased,
                        *hotKey);
        return {Taker::hotKey, hotKey->ref};
    }
    const Taker taker = frontmostTaker();
    deliverToFrontmost(makeEvent(type, keyCode, flags, Repeat::no), taker);
    return {taker, std::nullopt};
}

void Keyboard::routeAgain(const Down& down, EventType type, std::uint16_t keyCode,
                          ModifierFlags flags, Repeat repeat) {
    switch (down.taker) {
        case Taker::system:
            return;
        case Taker::hotKey:
            // Hot keys do not repeat; the release goes to the hot key that
            // was pressed, while it is still registered.
            if (type == EventType::keyUp) {
                if (auto hotKey = HotKeyCenter::shared().hotKey(*down.hotKey)) {
                    sendHotKeyEvent(kEventHotKeyReleased, *hotKey);
                }
            }
            return;
        case Taker::application:
        case Taker::otherApplication:
            deliverToFrontmost(makeEvent(type, keyCode, flags, repeat), down.taker);
            return;
    }
}

void Keyboard::sendHotKeyEvent(EventKind kind, const RegisteredHotKey& hotKey) {
    const CarbonEvent event = CarbonEvent::hotKeyEvent(kind, hotKey.id);
    sendEventToEventTarget(&event, hotKey.target);
}

void Keyboard::deliverToFrontmost(Event event, Taker taker) {
    auto passed = offerToEventTaps(std::move(event));
    if (!passed) return;
    event = std::move(*passed);
    if (taker != Taker::application) {
        EventMonitors::dispatchGlobal(event);
        return;
    }
    auto raw = std::make_shared<CarbonEvent>(
        CarbonEvent::rawKeyEvent(rawKeyKind(event.type, event.isARepeat), event.keyCode,
                                 rawKeyModifiers(event.modifierFlags)));
    if (carbonHandlersTook(*raw)) return;
    event.carbonEvent = std::move(raw);
    Application::shared().postEvent(std::move(event), false);
}

std::optional<Event> Keyboard::offerToEventTaps(Event event) {
    return EventTap::post(std::move(event));
}

Keyboard::Taker Keyboard::frontmostTaker() const {
    const bool ours = Application::shared().isActive() || Menu::trackingMenu() != nullptr ||
                      hasKeyNonactivatingPanel();
    return ours ? Taker::application : Taker::otherApplication;
}

bool Keyboard::carbonHandlersTook(const CarbonEvent& raw) const {
    // From system 14 on, an open menu keeps raw key events from the handlers.
    if (SystemVersion::isAtLeast(14) && Menu::trackingMenu()) return false;
    EventTargetRef target = eventDispatcherTarget();
    return target && sendEventToEventTarget(&raw, target) != eventNotHandledErr;
}

}  // namespace zelvana::platform
