#include "KeyboardShortcuts/CarbonKeyboardShortcuts.hpp"

#include <limits>
#include <map>
#include <memory>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "KeyboardShortcuts/RunLoopLocalEventMonitor.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/input/SystemVersion.hpp"

namespace zelvana::KeyboardShortcuts {
namespace {

using platform::EventTypeSpec;
using platform::kEventClassKeyboard;

const std::vector<EventTypeSpec> kHotKeyEventTypes{
    {kEventClassKeyboard, platform::kEventHotKeyPressed},
    {kEventClassKeyboard, platform::kEventHotKeyReleased}};
const std::vector<EventTypeSpec> kRawKeyEventTypes{
    {kEventClassKeyboard, platform::kEventRawKeyDown},
    {kEventClassKeyboard, platform::kEventRawKeyUp}};

// From 14 on, the system gives Carbon handlers no raw keys while a menu is
// open, so the queue is watched in the menu's run-loop mode instead.
constexpr int kMenuMonitorSystemVersion = 14;

bool fitsUInt32(std::int64_t value) {
    return value >= 0 && value <= std::numeric_limits<std::uint32_t>::max();
}

}  // namespace

struct CarbonKeyboardShortcuts::HotKey {
    Shortcut shortcut;
    std::int64_t carbonHotKeyId;
    std::optional<platform::EventHotKeyRef> carbonHotKey;
    Callback onKeyDown;
    Callback onKeyUp;
};

struct CarbonKeyboardShortcuts::State {
    std::map<std::int64_t, HotKey> hotKeys;
    std::int64_t hotKeyIdCounter = 0;
    std::optional<platform::EventHandlerRef> hotKeyEventHandler;
    platform::Subscription handlerInstallation;
    std::unique_ptr<RunLoopLocalEventMonitor> menuTrackingKeyMonitor;
};

CarbonKeyboardShortcuts::State& CarbonKeyboardShortcuts::state() {
    // Never destroyed: the monitor must not outlive the run loop at exit.
    static auto* shared = new State();
    return *shared;
}

bool CarbonKeyboardShortcuts::suspended() {
    return !hotKeysEnabled() || isMenuTracking();
}

void CarbonKeyboardShortcuts::registerShortcut(const Shortcut& shortcut, Callback onKeyDown,
                                               Callback onKeyUp) {
    platform::assertMainThread();
    auto& s = state();
    const auto id = ++s.hotKeyIdCounter;
    if (!fitsUInt32(shortcut.carbonKeyCode()) || !fitsUInt32(shortcut.carbonModifiers()) ||
        !fitsUInt32(id)) {
        return;
    }
    // A hot key made while suspended would take the key with nobody listening.
    if (s.hotKeyEventHandler && suspended()) {
        s.hotKeys.emplace(
            id, HotKey{shortcut, id, std::nullopt, std::move(onKeyDown), std::move(onKeyUp)});
        return;
    }
    auto ref = registerWithSystem(shortcut, id);
    if (!ref) return;
    s.hotKeys.emplace(id, HotKey{shortcut, id, ref, std::move(onKeyDown), std::move(onKeyUp)});
    installHandlerIfNeeded();
}

std::optional<platform::EventHotKeyRef> CarbonKeyboardShortcuts::registerWithSystem(
    const Shortcut& shortcut, std::int64_t id) {
    auto registration = platform::registerEventHotKey(
        static_cast<std::uint32_t>(shortcut.carbonKeyCode()),
        static_cast<std::uint32_t>(shortcut.carbonModifiers()),
        {kSignature, static_cast<std::uint32_t>(id)}, platform::eventDispatcherTarget(), 0);
    if (registration.status != platform::noErr) return std::nullopt;
    return registration.hotKey;
}

void CarbonKeyboardShortcuts::installHandlerIfNeeded() {
    auto& s = state();
    if (s.hotKeyEventHandler) return;
    auto* target = platform::eventDispatcherTarget();
    if (target == nullptr) return;
    auto installation = platform::installEventHandler(target, &handleKeyboardEvent, {});
    if (installation.status != platform::noErr || !installation.handler) return;
    s.hotKeyEventHandler = installation.handler;
    s.handlerInstallation = std::move(installation.removal);
    refreshEventHandling();
}

void CarbonKeyboardShortcuts::unregister(const Shortcut& shortcut) {
    platform::assertMainThread();
    auto& hotKeys = state().hotKeys;
    for (auto it = hotKeys.begin(); it != hotKeys.end();) {
        if (it->second.shortcut != shortcut) {
            ++it;
            continue;
        }
        if (it->second.carbonHotKey) platform::unregisterEventHotKey(*it->second.carbonHotKey);
        it = hotKeys.erase(it);
    }
}

void CarbonKeyboardShortcuts::registerAll() {
    for (auto& [id, hotKey] : state().hotKeys) {
        if (!hotKey.carbonHotKey) hotKey.carbonHotKey = registerWithSystem(hotKey.shortcut, id);
    }
}

void CarbonKeyboardShortcuts::unregisterAll() {
    for (auto& [id, hotKey] : state().hotKeys) {
        if (!hotKey.carbonHotKey) continue;
        platform::unregisterEventHotKey(*hotKey.carbonHotKey);
        hotKey.carbonHotKey.reset();
    }
}

void CarbonKeyboardShortcuts::refreshEventHandling() {
    platform::assertMainThread();
    if (!state().hotKeyEventHandler) return;
    if (!hotKeysEnabled()) {
        enterOffMode();
    } else if (isMenuTracking()) {
        enterMenuMode();
    } else {
        enterNormalMode();
    }
}

void CarbonKeyboardShortcuts::enterNormalMode() {
    const auto handler = *state().hotKeyEventHandler;
    registerAll();
    if (platform::SystemVersion::isAtLeast(kMenuMonitorSystemVersion)) {
        setMenuMonitorRunning(false);
    } else {
        platform::removeEventTypesFromHandler(handler, kRawKeyEventTypes);
    }
    platform::addEventTypesToHandler(handler, kHotKeyEventTypes);
}

void CarbonKeyboardShortcuts::enterMenuMode() {
    const auto handler = *state().hotKeyEventHandler;
    unregisterAll();
    platform::removeEventTypesFromHandler(handler, kHotKeyEventTypes);
    if (platform::SystemVersion::isAtLeast(kMenuMonitorSystemVersion)) {
        setMenuMonitorRunning(true);
    } else {
        platform::addEventTypesToHandler(handler, kRawKeyEventTypes);
    }
}

void CarbonKeyboardShortcuts::enterOffMode() {
    const auto handler = *state().hotKeyEventHandler;
    unregisterAll();
    platform::removeEventTypesFromHandler(handler, kHotKeyEventTypes);
    if (platform::SystemVersion::isAtLeast(kMenuMonitorSystemVersion)) {
        setMenuMonitorRunning(false);
    } else {
        platform::removeEventTypesFromHandler(handler, kRawKeyEventTypes);
    }
}

void CarbonKeyboardShortcuts::setMenuMonitorRunning(bool running) {
    auto& monitor = state().menuTrackingKeyMonitor;
    if (!monitor) {
        monitor = std::make_unique<RunLoopLocalEventMonitor>(
            platform::EventMask::keyDown | platform::EventMask::keyUp,
            platform::kEventTrackingRunLoopMode,
            [](const platform::Event& event) -> std::optional<platform::Event> {
                if (event.eventRef() != nullptr &&
                    handleRawKeyEvent(event.eventRef()) == platform::noErr) {
                    return std::nullopt;
                }
                return event;
            });
    }
    running ? monitor->start() : monitor->stop();
}

bool CarbonKeyboardShortcuts::isRegistered(const Shortcut& shortcut) {
    for (const auto& [id, hotKey] : state().hotKeys) {
        if (hotKey.shortcut == shortcut) return true;
    }
    return false;
}

std::vector<std::int64_t> CarbonKeyboardShortcuts::hotKeyIds() {
    std::vector<std::int64_t> ids;
    for (const auto& [id, hotKey] : state().hotKeys) ids.push_back(id);
    return ids;
}

platform::OSStatus CarbonKeyboardShortcuts::handleKeyboardEvent(platform::EventHandlerCallRef,
                                                                platform::EventRef event) {
    if (event == nullptr) return platform::eventNotHandledErr;
    switch (event->kind()) {
        case platform::kEventHotKeyPressed:
        case platform::kEventHotKeyReleased:
            return handleHotKeyEvent(event);
        case platform::kEventRawKeyDown:
        case platform::kEventRawKeyUp:
            return handleRawKeyEvent(event);
        default:
            return platform::eventNotHandledErr;
    }
}

platform::OSStatus CarbonKeyboardShortcuts::handleHotKeyEvent(platform::EventRef event) {
    platform::EventHotKeyID hotKeyId;
    const auto status = event->getParameter(platform::kEventParamDirectObject,
                                            platform::typeEventHotKeyID, hotKeyId);
    if (status != platform::noErr) return status;
    if (hotKeyId.signature != kSignature) return platform::eventNotHandledErr;
    auto found = state().hotKeys.find(hotKeyId.id);
    if (found == state().hotKeys.end()) return platform::eventNotHandledErr;
    // Copies: an action may change the records.
    const auto shortcut = found->second.shortcut;
    if (event->kind() == platform::kEventHotKeyPressed) {
        auto onKeyDown = found->second.onKeyDown;
        onKeyDown(shortcut);
    } else if (event->kind() == platform::kEventHotKeyReleased) {
        auto onKeyUp = found->second.onKeyUp;
        onKeyUp(shortcut);
    } else {
        return platform::eventNotHandledErr;
    }
    return platform::noErr;
}

platform::OSStatus CarbonKeyboardShortcuts::handleRawKeyEvent(platform::EventRef event) {
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    auto status = event->getParameter(platform::kEventParamKeyCode, platform::typeUInt32, keyCode);
    if (status != platform::noErr) return status;
    status =
        event->getParameter(platform::kEventParamKeyModifiers, platform::typeUInt32, modifiers);
    if (status != platform::noErr) return status;
    // Caps lock and the right-hand bits must not stop a match.
    const auto reduced = carbonValue(modifierFlags(modifiers));
    const HotKey* match = nullptr;
    for (const auto& [id, hotKey] : state().hotKeys) {
        if (hotKey.shortcut.carbonKeyCode() == keyCode &&
            hotKey.shortcut.carbonModifiers() == reduced) {
            match = &hotKey;
            break;
        }
    }
    if (match == nullptr) return platform::eventNotHandledErr;
    const auto shortcut = match->shortcut;
    if (event->kind() == platform::kEventRawKeyUp) {
        auto onKeyUp = match->onKeyUp;
        onKeyUp(shortcut);
    } else if (event->kind() == platform::kEventRawKeyDown) {
        auto onKeyDown = match->onKeyDown;
        onKeyDown(shortcut);
    } else {
        return platform::eventNotHandledErr;
    }
    return platform::noErr;
}

void CarbonKeyboardShortcuts::resetForTesting() {
    auto& s = state();
    unregisterAll();
    s.handlerInstallation.cancel();
    s.hotKeys.clear();
    s.hotKeyIdCounter = 0;
    s.hotKeyEventHandler.reset();
    s.menuTrackingKeyMonitor.reset();
}

}  // namespace zelvana::KeyboardShortcuts
