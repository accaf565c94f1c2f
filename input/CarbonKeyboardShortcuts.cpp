#include "input/CarbonKeyboardShortcuts.hpp"

#include <limits>
#include <map>
#include "platform/core/MainThread.hpp"

namespace zelvana::input {

namespace {

bool fitsUInt32(std::int64_t value) {
    return value >= 0 && value <= std::numeric_limits<std::uint32_t>::max();
}

}  // namespace

struct CarbonKeyboardShortcuts::HotKey {
    Shortcut shortcut;
    std::int64_t carbonHotKeyId;
    platform::EventHotKeyRef carbonHotKey;
    Callback onKeyDown;
    Callback onKeyUp;
};

struct CarbonKeyboardShortcuts::State {
    std::map<std::int64_t, HotKey> hotKeys;
    std::int64_t hotKeyIdCounter = 0;
    std::optional<platform::EventHandlerRef> hotKeyEventHandler;
    platform::Subscription handlerInstallation;
};

CarbonKeyboardShortcuts::State& CarbonKeyboardShortcuts::state() {
    static auto* shared = new State();  // callbacks may run while statics go
    return *shared;
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
    const auto registration = platform::registerEventHotKey(
        static_cast<std::uint32_t>(shortcut.carbonKeyCode()),
        static_cast<std::uint32_t>(shortcut.carbonModifiers()),
        {kSignature, static_cast<std::uint32_t>(id)}, platform::eventDispatcherTarget(), 0);
    if (registration.status != platform::noErr || !registration.hotKey) return;
    s.hotKeys.emplace(
        id, HotKey{shortcut, id, *registration.hotKey, std::move(onKeyDown), std::move(onKeyUp)});
    installHandlerIfNeeded();
}

void CarbonKeyboardShortcuts::installHandlerIfNeeded() {
    auto& s = state();
    if (s.hotKeyEventHandler) return;
    auto* target = platform::eventDispatcherTarget();
    if (target == nullptr) return;
    const std::vector<platform::EventTypeSpec> types{
        {platform::kEventClassKeyboard, platform::kEventHotKeyPressed},
        {platform::kEventClassKeyboard, platform::kEventHotKeyReleased}};
    auto installation = platform::installEventHandler(target, &handleHotKeyEvent, types);
    s.hotKeyEventHandler = installation.handler;
    s.handlerInstallation = std::move(installation.removal);
}

void CarbonKeyboardShortcuts::unregisterAll() {
    platform::assertMainThread();
    auto& hotKeys = state().hotKeys;
    while (!hotKeys.empty()) {
        const auto first = hotKeys.begin();
        platform::unregisterEventHotKey(first->second.carbonHotKey);
        hotKeys.erase(first->second.carbonHotKeyId);
    }
}

platform::OSStatus CarbonKeyboardShortcuts::handleHotKeyEvent(platform::EventHandlerCallRef,
                                                              platform::EventRef event) {
    if (event == nullptr) return platform::eventNotHandledErr;
    platform::EventHotKeyID hotKeyId;
    const auto status = event->getParameter(platform::kEventParamDirectObject,
                                            platform::typeEventHotKeyID, hotKeyId);
    if (status != platform::noErr) return status;
    if (hotKeyId.signature != kSignature) return platform::eventNotHandledErr;
    const auto found = state().hotKeys.find(hotKeyId.id);
    if (found == state().hotKeys.end()) return platform::eventNotHandledErr;
    // Copies: a callback may change the table.
    const HotKey hotKey = found->second;
    switch (event->kind()) {
        case platform::kEventHotKeyPressed:
            if (hotKey.onKeyDown) hotKey.onKeyDown(hotKey.shortcut);
            return platform::noErr;
        case platform::kEventHotKeyReleased:
            if (hotKey.onKeyUp) hotKey.onKeyUp(hotKey.shortcut);
            return platform::noErr;
        default:
            return platform::eventNotHandledErr;
    }
}

std::vector<std::int64_t> CarbonKeyboardShortcuts::hotKeyIds() {
    std::vector<std::int64_t> ids;
    for (const auto& [id, hotKey] : state().hotKeys) ids.push_back(id);
    return ids;
}

std::optional<platform::EventHandlerRef> CarbonKeyboardShortcuts::hotKeyEventHandler() {
    return state().hotKeyEventHandler;
}

void CarbonKeyboardShortcuts::resetForTesting() {
    auto& s = state();
    unregisterAll();
    s.handlerInstallation.cancel();
    s.hotKeyIdCounter = 0;
    s.hotKeyEventHandler.reset();
}

}  // namespace zelvana::input
