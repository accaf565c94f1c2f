#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>

namespace zelvana::input::eventmonitor {

// A set of event kinds: bit n stands for the event type numbered n, the
// numbering that AppKit and Quartz event types share, so the raw value
// serves as either's event mask.
struct EventMask {
    std::int64_t rawValue = 0;

    constexpr EventMask() = default;
    constexpr explicit EventMask(std::int64_t raw) : rawValue(raw) {}
    // The union of the members.
    constexpr EventMask(std::initializer_list<EventMask> members) {
        for (const auto member : members) rawValue |= member.rawValue;
    }

    static const EventMask gesture;
    static const EventMask leftMouseDown;
    static const EventMask leftMouseUp;
    static const EventMask rightMouseDown;
    static const EventMask rightMouseUp;
    static const EventMask leftMouseDragged;
    static const EventMask rightMouseDragged;
    static const EventMask otherMouseDragged;
    static const EventMask keyUp;
    static const EventMask pressure;
    static const EventMask scrollWheel;
    static const EventMask mouseMoved;
    static const EventMask flagsChanged;
    static const EventMask otherMouseDown;
    static const EventMask otherMouseUp;
    static const EventMask keyDown;
    // The six button downs and ups.
    static const EventMask mouseClicks;
    // The three drags.
    static const EventMask mouseDrags;
    // Clicks, drags, the scroll wheel and the keys.
    static const EventMask userInput;
    static const EventMask userInputAndMoves;
    // Clicks and drags.
    static const EventMask mouseButtons;

    constexpr EventMask unionWith(EventMask other) const {
        return EventMask(rawValue | other.rawValue);
    }
    constexpr EventMask intersection(EventMask other) const {
        return EventMask(rawValue & other.rawValue);
    }
    constexpr EventMask symmetricDifference(EventMask other) const {
        return EventMask(rawValue ^ other.rawValue);
    }
    constexpr EventMask subtracting(EventMask other) const {
        return EventMask(rawValue & ~other.rawValue);
    }

    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr bool contains(EventMask member) const {
        return (rawValue & member.rawValue) == member.rawValue;
    }
    constexpr bool isSubset(EventMask other) const { return other.contains(*this); }
    constexpr bool isSuperset(EventMask other) const { return contains(other); }
    constexpr bool isDisjoint(EventMask other) const { return intersection(other).isEmpty(); }

    // Adds the member; whether it was missing, and the member as now held.
    constexpr std::pair<bool, EventMask> insert(EventMask member) {
        const bool missing = !contains(member);
        rawValue |= member.rawValue;
        return {missing, missing ? member : intersection(member)};
    }
    // Takes the member out; what of it was held, if anything.
    constexpr std::optional<EventMask> remove(EventMask member) {
        const EventMask held = intersection(member);
        rawValue &= ~member.rawValue;
        if (held.isEmpty()) return std::nullopt;
        return held;
    }
    // Adds the member; what of it was held before, if anything.
    constexpr std::optional<EventMask> update(EventMask member) {
        const EventMask held = intersection(member);
        rawValue |= member.rawValue;
        if (held.isEmpty()) return std::nullopt;
        return held;
    }

    constexpr EventMask operator|(EventMask other) const { return unionWith(other); }
    constexpr EventMask operator&(EventMask other) const { return intersection(other); }
    constexpr EventMask operator^(EventMask other) const { return symmetricDifference(other); }
    constexpr EventMask operator-(EventMask other) const { return subtracting(other); }
    constexpr bool operator==(const EventMask&) const = default;
};

namespace detail {
constexpr EventMask bit(int number) {
    return EventMask(std::int64_t{1} << number);
}
}  // namespace detail

inline constexpr EventMask EventMask::gesture = detail::bit(29);
inline constexpr EventMask EventMask::leftMouseDown = detail::bit(1);
inline constexpr EventMask EventMask::leftMouseUp = detail::bit(2);
inline constexpr EventMask EventMask::rightMouseDown = detail::bit(3);
inline constexpr EventMask EventMask::rightMouseUp = detail::bit(4);
inline constexpr EventMask EventMask::leftMouseDragged = detail::bit(6);
inline constexpr EventMask EventMask::rightMouseDragged = detail::bit(7);
inline constexpr EventMask EventMask::otherMouseDragged = detail::bit(27);
inline constexpr EventMask EventMask::keyUp = detail::bit(11);
inline constexpr EventMask EventMask::pressure = detail::bit(34);
inline constexpr EventMask EventMask::scrollWheel = detail::bit(22);
inline constexpr EventMask EventMask::mouseMoved = detail::bit(5);
inline constexpr EventMask EventMask::flagsChanged = detail::bit(12);
inline constexpr EventMask EventMask::otherMouseDown = detail::bit(25);
inline constexpr EventMask EventMask::otherMouseUp = detail::bit(26);
inline constexpr EventMask EventMask::keyDown = detail::bit(10);
inline constexpr EventMask EventMask::mouseClicks{leftMouseDown, leftMouseUp,    rightMouseDown,
                                                  rightMouseUp,  otherMouseDown, otherMouseUp};
inline constexpr EventMask EventMask::mouseDrags{leftMouseDragged, rightMouseDragged,
                                                 otherMouseDragged};
inline constexpr EventMask EventMask::userInput{mouseClicks, mouseDrags, scrollWheel,
                                                keyDown,     keyUp,      flagsChanged};
inline constexpr EventMask EventMask::userInputAndMoves{userInput, mouseMoved};
inline constexpr EventMask EventMask::mouseButtons{mouseClicks, mouseDrags};

}  // namespace zelvana::input::eventmonitor
