#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "KeyboardShortcuts/Shortcut.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"
#include "platform/input/CarbonEvent.hpp"
#include "platform/input/HotKeyCenter.hpp"

namespace zelvana::keyboardshortcuts {

class RunLoopLocalEventMonitor;

// Turns shortcuts into system-wide hot keys under one four-character signature
// and brings their presses and releases back as calls. Two registries share the
// process (the named shortcuts' and the modifier trigger's); hot-key events with
// another signature are passed on, so each sees only its own. One that follows
// the named layer's switches works in one of three ways: system hot keys
// normally; matching raw key events while a menu tracks (the hot keys are
// suspended then); nothing while hot keys are switched off. Main thread only.
class CarbonKeyboardShortcuts {
public:
    using Callback = std::function<void(const Shortcut&)>;
    // Whether hot keys are suspended while switched off or while a menu tracks.
    enum class Suspension { never, followsSwitches };

    CarbonKeyboardShortcuts(platform::FourCharCode signature, Suspension suspension);
    ~CarbonKeyboardShortcuts();
    CarbonKeyboardShortcuts(const CarbonKeyboardShortcuts&) = delete;
    CarbonKeyboardShortcuts& operator=(const CarbonKeyboardShortcuts&) = delete;

    platform::FourCharCode signature() const { return signature_; }

    // Each call takes the next id (from 1), also when the system refuses the
    // hot key; a refused hot key is not kept. While hot keys are suspended, the
    // record is kept and the system is asked at the next refresh. The token
    // gives back this record's hot key.
    [[nodiscard]] platform::Subscription registerShortcut(const Shortcut& shortcut,
                                                          Callback onKeyDown, Callback onKeyUp);
    // Asks the system again for every suspended record; a refused one stays
    // known and is asked for again at the next refresh.
    void registerAll();
    // Suspends every record; they stay known.
    void unregisterAll();
    // Gives every hot key back and forgets the records; the handler stays.
    void removeAll();
    // Enters the way of working that the switches call for.
    void refreshEventHandling();

    // Whether a record of that combination exists (held or suspended).
    bool isRegistered(const Shortcut& shortcut) const;
    // The ids of the live records, in id order.
    std::vector<std::int64_t> hotKeyIds() const;
    std::optional<platform::EventHandlerRef> eventHandler() const { return eventHandler_; }

    // The Carbon handler: runs the callback of one of our hot keys (or, while
    // a menu tracks, of a matching raw key) and answers noErr; anything else
    // is eventNotHandledErr, or the status of a parameter that could not be read.
    platform::OSStatus handleKeyboardEvent(platform::EventHandlerCallRef next,
                                           platform::EventRef event);
    platform::OSStatus handleHotKeyEvent(platform::EventRef event);
    platform::OSStatus handleRawKeyEvent(platform::EventRef event);

    // Forgets records, ids, the handler and the monitor, as at process start.
    void resetForTesting();

private:
    struct HotKey {
        Shortcut shortcut;
        std::int64_t carbonHotKeyId = 0;
        std::optional<platform::EventHotKeyRef> carbonHotKey;
        Callback onKeyDown;
        Callback onKeyUp;
    };
    enum class Mode { normal, menu, off };
    enum class Monitor { running, stopped };

    Mode mode() const;
    std::optional<platform::EventHotKeyRef> registerWithSystem(const Shortcut& shortcut,
                                                               std::int64_t id) const;
    platform::Subscription keep(HotKey hotKey);
    void unregister(std::int64_t id);
    void installHandlerIfNeeded();
    void enterNormalMode();
    void enterMenuMode();
    void enterOffMode();
    void setMenuMonitor(Monitor state);

    platform::FourCharCode signature_;
    Suspension suspension_;
    std::map<std::int64_t, HotKey> hotKeys_;
    std::int64_t hotKeyIdCounter_ = 0;
    std::optional<platform::EventHandlerRef> eventHandler_;
    platform::Subscription handlerInstallation_;
    std::unique_ptr<RunLoopLocalEventMonitor> menuTrackingKeyMonitor_;
    // For the records' tokens, which may outlive the registry or its reset.
    platform::WeakFactory<CarbonKeyboardShortcuts> weak_{this};
};

// The named shortcuts' registry: signature 'VQTB', following the switches.
CarbonKeyboardShortcuts& namedHotKeys();

}  // namespace zelvana::keyboardshortcuts
