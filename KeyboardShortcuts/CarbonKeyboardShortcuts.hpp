#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "KeyboardShortcuts/Shortcut.hpp"
#include "platform/input/CarbonEvent.hpp"
#include "platform/input/HotKeyCenter.hpp"

namespace zelvana::KeyboardShortcuts {

// Turns shortcuts into system-wide hot keys under the signature 'VQTB' and
// brings their presses and releases back as calls. It works in one of three
// ways, chosen from the named layer's switches: system hot keys normally;
// matching raw key events while a menu tracks (the hot keys are suspended
// then); nothing while hot keys are switched off. Hot-key events with another
// signature are passed on, so another registry can share the process.
// Main thread only.
class CarbonKeyboardShortcuts {
public:
    using Callback = std::function<void(const Shortcut&)>;

    static constexpr platform::FourCharCode kSignature = platform::fourCharCode("VQTB");

    CarbonKeyboardShortcuts() = delete;

    // Each call takes the next id, also when the system refuses the hot key;
    // a refused hot key is not kept. While hot keys are suspended, the record
    // is kept and the system is asked at the next refresh.
    static void registerShortcut(const Shortcut& shortcut, Callback onKeyDown, Callback onKeyUp);
    // Every record of that combination goes.
    static void unregister(const Shortcut& shortcut);
    // Asks the system again for every suspended record; a refused one stays
    // known and is asked for again at the next refresh.
    static void registerAll();
    // Suspends every record; they stay known.
    static void unregisterAll();
    // Enters the way of working that the switches call for.
    static void refreshEventHandling();

    // Whether a record of that combination exists (held or suspended).
    static bool isRegistered(const Shortcut& shortcut);
    // The ids of the live records, in id order.
    static std::vector<std::int64_t> hotKeyIds();

    static platform::OSStatus handleKeyboardEvent(platform::EventHandlerCallRef next,
                                                  platform::EventRef event);
    static platform::OSStatus handleHotKeyEvent(platform::EventRef event);
    static platform::OSStatus handleRawKeyEvent(platform::EventRef event);

    // Forgets records, ids, the handler and the monitor, as at process start.
    static void resetForTesting();

private:
    struct HotKey;
    struct State;
    static State& state();
    static bool suspended();
    static std::optional<platform::EventHotKeyRef> registerWithSystem(const Shortcut& shortcut,
                                                                      std::int64_t id);
    static void installHandlerIfNeeded();
    static void enterNormalMode();
    static void enterMenuMode();
    static void enterOffMode();
    static void setMenuMonitorRunning(bool running);
};

}  // namespace zelvana::KeyboardShortcuts
