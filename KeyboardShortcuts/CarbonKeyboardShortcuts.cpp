#include "KeyboardShortcuts/CarbonKeyboardShortcuts.hpp"

#include <limits>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "KeyboardShortcuts/RunLoopLocalEventMonitor.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/system/SystemVersion.hpp"

namespace zelvana::keyboardshortcuts {
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

CarbonKeyboardShortcuts::CarbonKeyboardShortcuts(platform::FourCharCode signature,
                                                 Suspension suspension)
    : signature_(signature), suspension_(suspension) {}

CarbonKeyboardShortcuts::~CarbonKeyboardShortcuts() {
    removeAll();
}

CarbonKeyboardShortcuts& namedHotKeys() {
    // Never destroyed: the monitor must not outlive the run loop at exit.
    static auto* shared = new CarbonKeyboardShortcuts(
        platform::fourCharCode("VQTB"), CarbonKeyboardShortcuts::Suspension::followsSwitches);
    return *shared;
}

CarbonKeyboardShortcuts::Mode CarbonKeyboardShortcuts::mode() const {
    if (suspension_ == Suspension::never) return Mode::normal;
    if (!hotKeysEnabled()) return Mode::off;
    return isMenuTracking() ? Mode::menu : Mode::normal;
}

platform::Subscription CarbonKeyboardShortcuts::registerShortcut(const Shortcut& shortcut,
                                                                 Callback onKeyDown,
                                                                 Callback onKeyUp) {
    platform::assertMainThread();
    const auto id = ++hotKeyIdCounter_;
    if (!fitsUInt32(shortcut.carbonKeyCode()) || !fitsUInt32(shortcut.carbonModifiers()) ||
        !fitsUInt32(id)) {
        return {};
    }
    HotKey hotKey{shortcut, id, std::nullopt, std::move(onKeyDown), std::move(onKeyUp)};
    // A hot key made while suspended would take the key with nobody listening.
    if (eventHandler_ && mode() != Mode::normal) return keep(std::move(hotKey));
    hotKey.carbonHotKey = registerWithSystem(shortcut, id);
    if (!hotKey.carbonHotKey) return {};
    auto token = keep(std::move(hotKey));
    installHandlerIfNeeded();
    return token;
}

platform::Subscription CarbonKeyboardShortcuts::keep(HotKey hotKey) {
    const auto id = hotKey.carbonHotKeyId;
    hotKeys_.emplace(id, std::move(hotKey));
    return platform::Subscription([weak = weak_.ref(), id] {
        if (auto* self = weak.get()) self->unregister(id);
    });
}

std::optional<platform::EventHotKeyRef> CarbonKeyboardShortcuts::registerWithSystem(
    const Shortcut& shortcut, std::int64_t id) const {
    auto registration = platform::registerEventHotKey(
        static_cast<std::uint32_t>(shortcut.carbonKeyCode()),
        static_cast<std::uint32_t>(shortcut.carbonModifiers()),
        {signature_, static_cast<std::uint32_t>(id)}, platform::eventDispatcherTarget(), 0);
    if (registration.status != platform::noErr) return std::nullopt;
    return registration.hotKey;
}

void CarbonKeyboardShortcuts::installHandlerIfNeeded() {
    if (eventHandler_) return;
    auto* target = platform::eventDispatcherTarget();
    if (target == nullptr) return;
    // The installation is ours and ends with us.
    auto installation = platform::installEventHandler(
        target,
        [this](platform::EventHandlerCallRef next, platform::EventRef event) {
            return handleKeyboardEvent(next, event);
        },
        {});
    if (installation.status != platform::noErr || !installation.handler) return;
    eventHandler_ = installation.handler;
    handlerInstallation_ = std::move(installation.removal);
    refreshEventHandling();
}

void CarbonKeyboardShortcuts::unregister(std::int64_t id) {
    platform::assertMainThread();
    // Gone already when a failed re-registration or removeAll dropped it.
    auto found = hotKeys_.find(id);
    if (found == hotKeys_.end()) return;
    if (found->second.carbonHotKey) platform::unregisterEventHotKey(*found->second.carbonHotKey);
    hotKeys_.erase(found);
}

void CarbonKeyboardShortcuts::registerAll() {
    platform::assertMainThread();
    for (auto& [id, hotKey] : hotKeys_) {
        if (!hotKey.carbonHotKey) hotKey.carbonHotKey = registerWithSystem(hotKey.shortcut, id);
    }
}

void CarbonKeyboardShortcuts::unregisterAll() {
    platform::assertMainThread();
    for (auto& [id, hotKey] : hotKeys_) {
        if (!hotKey.carbonHotKey) continue;
        platform::unregisterEventHotKey(*hotKey.carbonHotKey);
        hotKey.carbonHotKey.reset();
    }
}

void CarbonKeyboardShortcuts::removeAll() {
    platform::assertMainThread();
    unregisterAll();
    hotKeys_.clear();
}

void CarbonKeyboardShortcuts::refreshEventHandling() {
    platform::assertMainThread();
    if (!eventHandler_) return;
    switch (mode()) {
        case Mode::normal:
            return enterNormalMode();
        case Mode::menu:
            return enterMenuMode();
        case Mode::off:
            return enterOffMode();
    }
}

void CarbonKeyboardShortcuts::enterNormalMode() {
    registerAll();
    if (platform::SystemVersion::isAtLeast(kMenuMonitorSystemVersion)) {
        setMenuMonitor(Monitor::stopped);
    } else {
        platform::removeEventTypesFromHandler(*eventHandler_, kRawKeyEventTypes);
    }
    platform::addEventTypesToHandler(*eventHandler_, kHotKeyEventTypes);
}

void CarbonKeyboardShortcuts::enterMenuMode() {
    unregisterAll();
    platform::removeEventTypesFromHandler(*eventHandler_, kHotKeyEventTypes);
    if (platform::SystemVersion::isAtLeast(kMenuMonitorSystemVersion)) {
        setMenuMonitor(Monitor::running);
    } else {
        platform::addEventTypesToHandler(*eventHandler_, kRawKeyEventTypes);
    }
}

void CarbonKeyboardShortcuts::enterOffMode() {
    unregisterAll();
    platform::removeEventTypesFromHandler(*eventHandler_, kHotKeyEventTypes);
    if (platform::SystemVersion::isAtLeast(kMenuMonitorSystemVersion)) {
        setMenuMonitor(Monitor::stopped);
    } else {
        platform::removeEventTypesFromHandler(*eventHandler_, kRawKeyEventTypes);
    }
}

void CarbonKeyboardShortcuts::setMenuMonitor(Monitor state) {
    auto& monitor = menuTrackingKeyMonitor_;
    if (!monitor && state == Monitor::stopped) return;
    if (!monitor) {
        // Owned by this registry, so it never calls into a registry that is gone.
        monitor = std::make_unique<RunLoopLocalEventMonitor>(
            platform::EventMask::keyDown | platform::EventMask::keyUp,
            platform::kEventTrackingRunLoopMode,
            [this](const platform::Event& event) -> std::optional<platform::Event> {
                if (event.eventRef() != nullptr &&
                    handleRawKeyEvent(event.eventRef()) == platform::noErr) {
                    return std::nullopt;
                }
                return event;
            });
    }
    state == Monitor::running ? monitor->start() : monitor->stop();
}

bool CarbonKeyboardShortcuts::isRegistered(const Shortcut& shortcut) const {
    for (const auto& [id, hotKey] : hotKeys_) {
        if (hotKey.shortcut == shortcut) return true;
    }
    return false;
}

std::vector<std::int64_t> CarbonKeyboardShortcuts::hotKeyIds() const {
    std::vector<std::int64_t> ids;
    for (const auto& [id, hotKey] : hotKeys_) ids.push_back(id);
    return ids;
}

platform::OSStatus CarbonKeyboardShortcuts::handleKeyboardEvent(platform::EventHandlerCallRef,
                                                                platform::EventRef event) {
    platform::assertMainThread();
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
    platform::assertMainThread();
    platform::EventHotKeyID hotKeyId;
    const auto status = event->getParameter(platform::kEventParamDirectObject,
                                            platform::typeEventHotKeyID, hotKeyId);
    if (status != platform::noErr) return status;
    if (hotKeyId.signature != signature_) return platform::eventNotHandledErr;
    auto found = hotKeys_.find(hotKeyId.id);
    if (found == hotKeys_.end()) return platform::eventNotHandledErr;
    // Copies: an action may change the records.
    const auto shortcut = found->second.shortcut;
    if (event->kind() == platform::kEventHotKeyPressed) {
        auto onKeyDown = found->second.onKeyDown;
        if (onKeyDown) onKeyDown(shortcut);
    } else if (event->kind() == platform::kEventHotKeyReleased) {
        auto onKeyUp = found->second.onKeyUp;
        if (onKeyUp) onKeyUp(shortcut);
    } else {
        return platform::eventNotHandledErr;
    }
    return platform::noErr;
}

platform::OSStatus CarbonKeyboardShortcuts::handleRawKeyEvent(platform::EventRef event) {
    platform::assertMainThread();
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
    for (const auto& [id, hotKey] : hotKeys_) {
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
        if (onKeyUp) onKeyUp(shortcut);
    } else if (event->kind() == platform::kEventRawKeyDown) {
        auto onKeyDown = match->onKeyDown;
        if (onKeyDown) onKeyDown(shortcut);
    } else {
        return platform::eventNotHandledErr;
    }
    return platform::noErr;
}

void CarbonKeyboardShortcuts::resetForTesting() {
    platform::assertMainThread();
    removeAll();
    // Ids start again from 1, so earlier tokens must not reach the new records.
    weak_.invalidate();
    handlerInstallation_.cancel();
    hotKeyIdCounter_ = 0;
    eventHandler_.reset();
    menuTrackingKeyMonitor_.reset();
}

}  // namespace zelvana::keyboardshortcuts
