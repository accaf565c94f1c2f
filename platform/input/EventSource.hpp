#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/appkit/Event.hpp"
#include "platform/input/EventTap.hpp"

namespace zelvana::platform {

// Whether a synthetic key event presses or releases its key.
enum class KeyTransition { down, up };

// A source of synthetic events (CGEventSource). Events made from a source
// start with its modifier flags: a private-state source keeps its own, from
// the modifier keys pressed and released through it; the session and HID
// states share the keyboard's. Thread-safe.
class EventSource {
public:
    enum class StateID : std::int32_t {
        privateState = -1,
        combinedSessionState = 0,
        hidSystemState = 1,
    };

    // CGEventSourceCreate.
    static std::shared_ptr<EventSource> create(StateID state);

    StateID stateID() const { return state_; }
    // The modifier flags a new event of this source carries.
    ModifierFlags flags() const;

    // The modifier flag of a modifier key (Command, Shift, Caps Lock, Option,
    // Control, Function and their right-hand keys); none for every other key.
    static ModifierFlags modifierFlagOfKey(std::uint16_t keyCode);

private:
    friend std::optional<Event> createKeyboardEvent(const std::shared_ptr<EventSource>& source,
                                                    std::uint16_t keyCode,
                                                    KeyTransition transition);
    explicit EventSource(StateID state) : state_(state) {}
    // A modifier key made through the source changes its own flags.
    ModifierFlags noteKey(std::uint16_t keyCode, KeyTransition transition);

    const StateID state_;
    mutable std::mutex mutex_;
    ModifierFlags privateFlags_;
};

// CGEventCreateKeyboardEvent: a key-down or key-up event (flags-changed for a
// modifier key) carrying the source's flags; none without a source.
std::optional<Event> createKeyboardEvent(const std::shared_ptr<EventSource>& source,
                                         std::uint16_t keyCode, KeyTransition transition);

// CGEventPost: the event enters the system as if it came from the keyboard and
// is routed as the simulated keyboard routes its own (hot keys, taps, monitors,
// our application). Every location starts at the HID taps here. Main thread.
void postEvent(EventTapLocation location, const Event& event);

}  // namespace zelvana::platform
