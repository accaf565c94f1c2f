#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "input/Shortcut.hpp"
#include "platform/input/CarbonEvent.hpp"
#include "platform/input/HotKeyCenter.hpp"

namespace zelvana::input {

// The modifier trigger's own system-wide hot keys, under the signature
// 'QDLN', beside the named shortcuts' registry: hot-key events that carry
// another signature are passed on, so each registry sees only its own.
// Main thread only.
class CarbonKeyboardShortcuts {
public:
    using Callback = std::function<void(const Shortcut&)>;

    static constexpr platform::FourCharCode kSignature = platform::fourCharCode("QDLN");

    CarbonKeyboardShortcuts() = delete;

    // Each call takes the next id (from 1), also when the system refuses the
    // hot key; a refused hot key is dropped silently.
    static void registerShortcut(const Shortcut& shortcut, Callback onKeyDown, Callback onKeyUp);
    // Gives every hot key back; the event handler stays installed.
    static void unregisterAll();
    // The Carbon handler: runs the callback of one of our hot keys and
    // answers noErr; anything else is eventNotHandledErr, or the status of
    // a parameter that could not be read.
    static platform::OSStatus handleHotKeyEvent(platform::EventHandlerCallRef next,
                                                platform::EventRef event);

    // The ids of the held hot keys, in id order.
    static std::vector<std::int64_t> hotKeyIds();
    static std::optional<platform::EventHandlerRef> hotKeyEventHandler();

    // Forgets hot keys, ids and the handler, as at process start.
    static void resetForTesting();

private:
    struct HotKey;
    struct State;
    static State& state();
    static void installHandlerIfNeeded();
};

}  // namespace zelvana::input
