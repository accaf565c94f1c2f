#pragma once

#include <cstdint>
#include <map>
#include <variant>

#include "platform/dispatch/Clock.hpp"

namespace zelvana::platform {

// Status codes of the Carbon-style services.
using OSStatus = std::int32_t;
inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus paramErr = -50;
inline constexpr OSStatus errAECoercionFail = -1700;
inline constexpr OSStatus eventInternalErr = -9868;
inline constexpr OSStatus eventParameterNotFoundErr = -9870;
inline constexpr OSStatus eventNotHandledErr = -9874;
inline constexpr OSStatus eventHotKeyExistsErr = -9878;
inline constexpr OSStatus eventHotKeyInvalidErr = -9879;

// Four characters packed big-endian into 32 bits, as 'keyb'.
using FourCharCode = std::uint32_t;
constexpr FourCharCode fourCharCode(const char (&code)[5]) {
    return (FourCharCode(std::uint8_t(code[0])) << 24) |
           (FourCharCode(std::uint8_t(code[1])) << 16) |
           (FourCharCode(std::uint8_t(code[2])) << 8) | FourCharCode(std::uint8_t(code[3]));
}

using EventClass = FourCharCode;
using EventKind = std::uint32_t;
using EventParamName = FourCharCode;
using EventParamType = FourCharCode;

inline constexpr EventClass kEventClassKeyboard = fourCharCode("keyb");
inline constexpr EventKind kEventRawKeyDown = 1;
inline constexpr EventKind kEventRawKeyRepeat = 2;
inline constexpr EventKind kEventRawKeyUp = 3;
inline constexpr EventKind kEventRawKeyModifiersChanged = 4;
inline constexpr EventKind kEventHotKeyPressed = 5;
inline constexpr EventKind kEventHotKeyReleased = 6;

inline constexpr EventParamName kEventParamDirectObject = fourCharCode("----");
inline constexpr EventParamName kEventParamKeyCode = fourCharCode("kcod");
inline constexpr EventParamName kEventParamKeyModifiers = fourCharCode("kmod");
inline constexpr EventParamType typeEventHotKeyID = fourCharCode("hkid");
inline constexpr EventParamType typeUInt32 = fourCharCode("magn");

// Carbon modifier bits, as key events and hot keys carry them.
inline constexpr std::uint32_t cmdKey = 0x100;
inline constexpr std::uint32_t shiftKey = 0x200;
inline constexpr std::uint32_t alphaLock = 0x400;
inline constexpr std::uint32_t optionKey = 0x800;
inline constexpr std::uint32_t controlKey = 0x1000;

// The kinds of event a handler is asked to receive.
struct EventTypeSpec {
    EventClass eventClass = 0;
    EventKind eventKind = 0;
    bool operator==(const EventTypeSpec&) const = default;
    auto operator<=>(const EventTypeSpec&) const = default;
};

// Names one hot key: the registrant's signature and its own number.
struct EventHotKeyID {
    FourCharCode signature = 0;
    std::uint32_t id = 0;
    bool operator==(const EventHotKeyID&) const = default;
};

// One Carbon event: its class and kind, when it happened, and typed
// parameters.
class CarbonEvent {
public:
    CarbonEvent(EventClass eventClass, EventKind kind);

    EventClass eventClass() const { return class_; }
    EventKind kind() const { return kind_; }
    // Seconds of the clock's uptime.
    TimeInterval time() const { return time_; }

    void setParameter(EventParamName name, EventHotKeyID value);
    void setParameter(EventParamName name, std::uint32_t value);
    // Copies the parameter into `out`: eventParameterNotFoundErr when the
    // event has no such parameter, errAECoercionFail when it holds another
    // type than the one asked for (and `out` is left alone).
    OSStatus getParameter(EventParamName name, EventParamType type, EventHotKeyID& out) const;
    OSStatus getParameter(EventParamName name, EventParamType type, std::uint32_t& out) const;

    // A hot-key event (pressed or released) for the hot key `id`.
    static CarbonEvent hotKeyEvent(EventKind kind, EventHotKeyID id);
    // A raw key event with the key code and the Carbon modifier bits.
    static CarbonEvent rawKeyEvent(EventKind kind, std::uint32_t keyCode, std::uint32_t modifiers);

private:
    using Value = std::variant<EventHotKeyID, std::uint32_t>;
    template <typename T>
    OSStatus read(EventParamName name, EventParamType type, EventParamType expected, T& out) const;

    EventClass class_;
    EventKind kind_;
    TimeInterval time_;
    std::map<EventParamName, Value> parameters_;
};

// A Carbon event as handlers receive it; null stands for no event.
using EventRef = const CarbonEvent*;

}  // namespace zelvana::platform
