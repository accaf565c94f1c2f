#include "KeyboardShortcuts/KeyboardShortcuts.hpp"

#include "KeyboardShortcuts/CarbonKeyboardShortcuts.hpp"
#include "KeyboardShortcuts/NamedShortcuts.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::keyboardshortcuts {
namespace {

// Every entry point reaches the shared state through these two.
NamedShortcuts& named() {
    platform::assertMainThread();
    return NamedShortcuts::shared();
}

platform::UserDefaults& defaults() {
    platform::assertMainThread();
    return platform::UserDefaults::standard();
}

void postChange(const Name& name) {
    platform::Notification notification{kShortcutByNameDidChange, {}, {{"name", name}}};
    platform::NotificationCenter::defaultCenter().post(notification);
}

void store(const Shortcut& shortcut, const Name& name) {
    named().hold(name, shortcut);
    defaults().set(storageKey(name), shortcut.toJSON());
    postChange(name);
}

void remove(const Name& name) {
    if (!getShortcut(name)) return;
    // A stored false keeps a removed default from coming back at next launch.
    if (name.defaultShortcut()) {
        defaults().set(storageKey(name), false);
    } else {
        defaults().removeObject(storageKey(name));
    }
    named().release(name);
    postChange(name);
}

}  // namespace

std::optional<Shortcut> getShortcut(const Name& name) {
    auto value = defaults().object(storageKey(name));
    if (!value || !value->stringValue()) return std::nullopt;
    return Shortcut::fromJSON(*value->stringValue());
}

void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    if (shortcut) {
        store(*shortcut, name);
    } else {
        remove(name);
    }
}

void resetToDefaults(const std::vector<Name>& names) {
    for (const auto& name : names) setShortcut(name.defaultShortcut(), name);
}

void enable(const std::vector<Name>& names) {
    for (const auto& name : names) {
        named().markEnabled(name);
        if (auto shortcut = getShortcut(name)) named().hold(name, *shortcut);
    }
}

void disable(const std::vector<Name>& names) {
    for (const auto& name : names) {
        named().markDisabled(name);
        named().release(name);
    }
}

platform::Subscription onKeyDown(const Name& name, Action action) {
    auto token = named().addKeyDownAction(name, std::move(action));
    if (auto shortcut = getShortcut(name)) named().hold(name, *shortcut);
    return token;
}

platform::Subscription onKeyUp(const Name& name, Action action) {
    auto token = named().addKeyUpAction(name, std::move(action));
    if (auto shortcut = getShortcut(name)) named().hold(name, *shortcut);
    return token;
}

void removeAllActions() {
    named().removeAllActions();
}

bool hotKeysEnabled() {
    return named().hotKeysEnabled;
}

void setHotKeysEnabled(bool enabled) {
    if (named().hotKeysEnabled == enabled) return;
    named().hotKeysEnabled = enabled;
    namedHotKeys().refreshEventHandling();
}

bool handlingPaused() {
    return named().handlingPaused;
}

void setHandlingPaused(bool paused) {
    named().handlingPaused = paused;
}

bool isMenuTracking() {
    return named().menuTracking;
}

KeyEventSequence keyEvents(const Name& name) {
    return KeyEventSequence(name, std::nullopt);
}

KeyEventSequence keyEvents(EventType type, const Name& name) {
    return KeyEventSequence(name, type);
}

void handleShortcutKeyDown(const Shortcut& shortcut) {
    named().deliver(shortcut, EventType::keyDown);
}

void handleShortcutKeyUp(const Shortcut& shortcut) {
    named().deliver(shortcut, EventType::keyUp);
}

std::vector<Shortcut> activeShortcuts() {
    return named().heldShortcuts();
}

void resetForTesting() {
    named().reset();
    namedHotKeys().resetForTesting();
}

}  // namespace zelvana::keyboardshortcuts
