#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "platform/appkit/Event.hpp"
#include "platform/input/CarbonEvent.hpp"
#include "platform/input/CarbonModifiers.hpp"
#include "platform/input/HotKeyCenter.hpp"

namespace zelvana::platform {

// The simulated keyboard. A key event is routed in this order:
//   1. an enabled symbolic hot key of the system takes it;
//   2. a registered hot key with that key code and Carbon modifiers takes it
//      (caps lock ignored): a hot-key pressed event on the down, released on
//      the up, through its target's handler chain;
//   3. event taps see it (listen-only ones a copy; active ones may replace
//      or swallow it, see EventTap); then, when another application is
//      frontmost, global monitors see it; when ours is (active, one of its
//      menus open, or a non-activating panel of ours key while another
//      application stays active), the event dispatcher's Carbon
//      handlers get a raw key event, and unless one takes it the event joins
//      our application's queue, which the main run loop then serves.
// On systems 14 and later the Carbon handlers get no raw key events while a
// menu is open. Main thread only.
class Keyboard {
public:
    static Keyboard& shared();

    void keyDown(std::uint16_t keyCode, ModifierFlags flags = {});
    void keyUp(std::uint16_t keyCode, ModifierFlags flags = {});
    // The modifier keys now held; `keyCode` is the modifier key that changed.
    void flagsChanged(ModifierFlags flags, std::uint16_t keyCode = 0);
    // A key down then up with the same flags.
    void press(std::uint16_t keyCode, ModifierFlags flags = {});

    // The flags of the last event, as NSEvent.modifierFlags reads them.
    ModifierFlags modifierFlags() const { return flags_; }
    bool isKeyDown(std::uint16_t keyCode) const { return down_.count(keyCode) != 0; }

    // No keys held, no flags.
    void resetForTesting();

private:
    // Who took a key down, so its repeats and its key up go the same way.
    enum class Taker { system, hotKey, application, otherApplication };
    enum class Repeat { no, yes };
    struct Down {
        Taker taker = Taker::application;
        std::optional<EventHotKeyRef> hotKey;
    };

    Keyboard() = default;
    // Its characters go through the current layout, dead keys included.
    Event makeEvent(EventType type, std::uint16_t keyCode, ModifierFlags flags, Repeat repeat);
    Down route(EventType type, std::uint16_t keyCode, ModifierFlags flags);
    void routeAgain(const Down& down, EventType type, std::uint16_t keyCode, ModifierFlags flags,
                    Repeat repeat);
    void sendHotKeyEvent(EventKind kind, const RegisteredHotKey& hotKey);
    // Step 3: taps, then the monitors of another application or our own
    // (`taker` is application or otherApplication).
    void deliverToFrontmost(Event event, Taker taker);
    // What the event taps leave of the event; nothing when one swallowed it.
    std::optional<Event> offerToEventTaps(Event event);
    // The application or another application, by which is frontmost.
    Taker frontmostTaker() const;
    // Whether a Carbon handler of the event dispatcher took the raw event.
    bool carbonHandlersTook(const CarbonEvent& raw) const;

    ModifierFlags flags_;
    std::map<std::uint16_t, Down> down_;
    // The accent a dead key left for the next key down.
    std::uint32_t deadKeyState_ = 0;
};

}  // namespace zelvana::platform
