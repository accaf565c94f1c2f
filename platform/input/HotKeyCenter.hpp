#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Subscription.hpp"
#include "platform/input/CarbonEvent.hpp"

namespace zelvana::platform {

class EventHandlerCall;

// Something events are sent to, with its own handler chain.
class EventTarget {
public:
    explicit EventTarget(std::string name) : name_(std::move(name)) {}
    EventTarget(const EventTarget&) = delete;
    EventTarget& operator=(const EventTarget&) = delete;
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

// Where events are sent; null stands for no target. Targets live as long as
// the process.
using EventTargetRef = EventTarget*;
// The rest of the handler chain, for callNextEventHandler; valid during the
// handler's call.
using EventHandlerCallRef = const EventHandlerCall*;
using EventHandler = std::function<OSStatus(EventHandlerCallRef next, EventRef event)>;

// Names one installed handler. Never 0.
struct EventHandlerRef {
    std::uint64_t value = 0;
    bool operator==(const EventHandlerRef&) const = default;
    auto operator<=>(const EventHandlerRef&) const = default;
};
// Names one registered hot key. Never 0.
struct EventHotKeyRef {
    std::uint64_t value = 0;
    bool operator==(const EventHotKeyRef&) const = default;
    auto operator<=>(const EventHotKeyRef&) const = default;
};

struct HotKeyRegistration {
    OSStatus status = noErr;
    std::optional<EventHotKeyRef> hotKey;
};
struct HandlerInstallation {
    OSStatus status = noErr;
    std::optional<EventHandlerRef> handler{};
    // Removes the handler when it goes; inactive when none was installed.
    Subscription removal{};
};

// A hot key as the system holds it.
struct RegisteredHotKey {
    EventHotKeyRef ref;
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    EventHotKeyID id;
    EventTargetRef target = nullptr;
};

// --- The Carbon Event Manager's hot-key and handler calls ---

// Registers a system-wide hot key for the key code and the exact Carbon
// modifier bits; a press and a release are sent to `target` as hot-key
// events carrying `id`. Fails with paramErr for no target, with
// eventHotKeyExistsErr when the combination is taken (or refused).
HotKeyRegistration registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                       EventHotKeyID id, EventTargetRef target,
                                       std::uint32_t options = 0);
// eventHotKeyInvalidErr for an unknown hot key.
OSStatus unregisterEventHotKey(EventHotKeyRef hotKey);
// The target that the event dispatcher sends key events to; null when tests
// took it away.
EventTargetRef eventDispatcherTarget();
// Installs a handler at the front of the target's chain, for the given
// event types (may be none), until the installation's removal token goes.
[[nodiscard]] HandlerInstallation installEventHandler(EventTargetRef target, EventHandler handler,
                                                      const std::vector<EventTypeSpec>& types = {});
// Adding a type the handler has, or removing one it lacks, changes nothing.
// paramErr for an unknown handler.
OSStatus addEventTypesToHandler(EventHandlerRef handler, const std::vector<EventTypeSpec>& types);
OSStatus removeEventTypesFromHandler(EventHandlerRef handler,
                                     const std::vector<EventTypeSpec>& types);
// Passes the event to the handlers after the calling one; they are not
// asked again when the calling handler then answers "not handled".
OSStatus callNextEventHandler(EventHandlerCallRef next, EventRef event);
// Sends an event through the target's chain: newest handler first, each
// handler that lists its type in turn until one returns something other
// than eventNotHandledErr. eventNotHandledErr when none took it.
OSStatus sendEventToEventTarget(EventRef event, EventTargetRef target);

// The system side of the calls above, with controls for tests.
class HotKeyCenter {
public:
    static HotKeyCenter& shared();

    HotKeyRegistration registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                      EventHotKeyID id, EventTargetRef target);
    OSStatus unregisterHotKey(EventHotKeyRef hotKey);
    EventTargetRef dispatcherTarget();
    HandlerInstallation installHandler(EventTargetRef target, EventHandler handler,
                                       const std::vector<EventTypeSpec>& types);
    OSStatus removeHandler(EventHandlerRef handler);
    OSStatus addTypes(EventHandlerRef handler, const std::vector<EventTypeSpec>& types);
    OSStatus removeTypes(EventHandlerRef handler, const std::vector<EventTypeSpec>& types);
    OSStatus send(EventRef event, EventTargetRef target);

    // The hot key registered for the key code with exactly these modifiers.
    std::optional<RegisteredHotKey> hotKeyFor(std::uint32_t keyCode, std::uint32_t modifiers) const;
    std::optional<RegisteredHotKey> hotKey(EventHotKeyRef ref) const;
    // In the order they were registered.
    std::vector<RegisteredHotKey> registeredHotKeys() const;
    // The handlers on a target, newest first.
    std::vector<EventHandlerRef> handlers(EventTargetRef target) const;
    bool isInstalled(EventHandlerRef handler) const;
    std::set<EventTypeSpec> eventTypes(EventHandlerRef handler) const;

    // Makes the system refuse that combination with `status`, as when
    // another program holds it.
    void refuseHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                      OSStatus status = eventHotKeyExistsErr);
    void allowHotKey(std::uint32_t keyCode, std::uint32_t modifiers);
    // While false, eventDispatcherTarget gives null.
    void setDispatcherTargetAvailable(bool available) { targetAvailable_ = available; }
    // While set, installEventHandler fails with this status.
    void setInstallFailure(std::optional<OSStatus> status) { installFailure_ = status; }
    // Forgets hot keys, handlers and test controls.
    void resetForTesting();

private:
    struct Handler {
        EventHandlerRef ref;
        EventTargetRef target = nullptr;
        std::shared_ptr<EventHandler> handler;
        std::set<EventTypeSpec> types;
    };
    HotKeyCenter();
    Handler* findHandler(EventHandlerRef ref);

    std::unique_ptr<EventTarget> dispatcher_;
    std::vector<RegisteredHotKey> hotKeys_;
    // Newest first.
    std::vector<Handler> handlers_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, OSStatus> refused_;
    std::uint64_t lastRef_ = 0;
    bool targetAvailable_ = true;
    std::optional<OSStatus> installFailure_;
};

}  // namespace zelvana::platform
