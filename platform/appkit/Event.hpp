#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/Touch.hpp"
#include "platform/core/Flags.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/dispatch/Clock.hpp"

namespace zelvana::platform {

class CarbonEvent;
class Window;

// Event types, numbered as the system numbers them.
enum class EventType : std::uint16_t {
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    mouseEntered = 8,
    mouseExited = 9,
    keyDown = 10,
    keyUp = 11,
    flagsChanged = 12,
    appKitDefined = 13,
    systemDefined = 14,
    applicationDefined = 15,
    periodic = 16,
    cursorUpdate = 17,
    rotate = 18,
    beginGesture = 19,
    endGesture = 20,
    scrollWheel = 22,
    tabletPoint = 23,
    tabletProximity = 24,
    otherMouseDown = 25,
    otherMouseUp = 26,
    otherMouseDragged = 27,
    gesture = 29,
    magnify = 30,
    swipe = 31,
    smartMagnify = 32,
    quickLook = 33,
    pressure = 34,
    directTouch = 37,
    changeMode = 38,
};

// Event masks: bit n stands for the event type numbered n, the numbering
// that AppKit and Quartz event types share.
enum class EventMask : std::uint64_t {
    leftMouseDown = 1ull << 1,
    leftMouseUp = 1ull << 2,
    rightMouseDown = 1ull << 3,
    rightMouseUp = 1ull << 4,
    mouseMoved = 1ull << 5,
    leftMouseDragged = 1ull << 6,
    rightMouseDragged = 1ull << 7,
    keyDown = 1ull << 10,
    keyUp = 1ull << 11,
    flagsChanged = 1ull << 12,
    scrollWheel = 1ull << 22,
    otherMouseDown = 1ull << 25,
    otherMouseUp = 1ull << 26,
    otherMouseDragged = 1ull << 27,
    gesture = 1ull << 29,
    pressure = 1ull << 34,
    any = ~0ull,
};
ZELVANA_FLAGS(EventMask)
using EventTypeMask = Flags<EventMask>;

// Types numbered above 63 have no bit and give an empty mask.
constexpr EventTypeMask eventMaskFor(EventType type) {
    const auto number = static_cast<unsigned>(type);
    return EventTypeMask::fromRaw(number < 64 ? std::uint64_t{1} << number : 0);
}

// Modifier-flag bits, with the values the system uses.
enum class Modifier : std::uint64_t {
    capsLock = 1u << 16,
    shift = 1u << 17,
    control = 1u << 18,
    option = 1u << 19,
    command = 1u << 20,
    numericPad = 1u << 21,
    help = 1u << 22,
    function = 1u << 23,
};
ZELVANA_FLAGS(Modifier)
using ModifierFlags = Flags<Modifier>;
// The bits that do not depend on the device (left or right key).
inline constexpr ModifierFlags kDeviceIndependentModifierFlags =
    ModifierFlags::fromRaw(0xffff0000u);

// One input event as the application sees it. The first four members keep
// the order of the former key-event record, so brace-initialised key events
// still read the same.
struct Event {
    // Event::command and the rest name the modifier bits.
    using enum Modifier;

    // The Carbon virtual key code of a key event.
    std::uint16_t keyCode = 0;
    ModifierFlags modifierFlags = {};
    // The text the key produces with its modifiers applied, and without the
    // modifiers other than Shift.
    std::string characters{};
    std::string charactersIgnoringModifiers{};
    EventType type = EventType::keyDown;
    bool isARepeat = false;
    // Seconds of the clock's uptime when the event happened.
    TimeInterval timestamp = 0;
    // The window the event is meant for; null for none. Not owned.
    Window* window = nullptr;
    // The Carbon event this event came from, when it came from one.
    std::shared_ptr<const CarbonEvent> carbonEvent = nullptr;
    // The fingers of a trackpad gesture event, changed or not.
    std::vector<Touch> touches = {};
    // Where the pointer was, in the window server's global coordinates (origin
    // at the top-left of the first display, y down).
    Point location = {};
    // How far a scroll-wheel event scrolls, in points.
    double scrollingDeltaX = 0;
    double scrollingDeltaY = 0;
    // Where a mouse event happened, in its window's coordinates (y down).
    Point locationInWindow = {};

    bool has(Modifier modifier) const { return modifierFlags.contains(modifier); }
    // The Carbon event, or null: valid while this event lives.
    const CarbonEvent* eventRef() const { return carbonEvent.get(); }
    // The modifier bits that do not depend on the device (left or right key).
    ModifierFlags deviceIndependentModifierFlags() const {
        return modifierFlags & kDeviceIndependentModifierFlags;
    }
    bool matches(EventTypeMask mask) const { return mask.intersects(eventMaskFor(type)); }
    // Every finger on the pad when the event happened.
    const std::vector<Touch>& allTouches() const { return touches; }

    static Event keyEvent(EventType type, std::uint16_t keyCode, ModifierFlags flags,
                          std::string characters, std::string charactersIgnoringModifiers);
    static Event mouseEvent(EventType type, Point locationInWindow, Window* window);

    bool operator==(const Event&) const = default;

    // Application-local monitors see matching events that our application
    // dispatches, before the event goes on; the handler returns the event to
    // deliver (the same or another) or nothing to swallow it. The monitor
    // stays until its token goes, which is safe from inside any monitor's
    // handler, its own included. The token is inactive when monitors are
    // refused (see EventMonitors).
    using LocalHandler = std::function<std::optional<Event>(const Event&)>;
    [[nodiscard]] static Subscription addLocalMonitor(EventTypeMask mask, LocalHandler handler);
    // Global monitors see copies of matching events sent to other
    // applications; they cannot change them.
    using GlobalHandler = std::function<void(const Event&)>;
    [[nodiscard]] static Subscription addGlobalMonitor(EventTypeMask mask, GlobalHandler handler);
};

}  // namespace zelvana::platform
