#include "input/ArrowHotKeys.hpp"

#include "input/CarbonKeyboardShortcuts.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/input/CarbonModifiers.hpp"

namespace zelvana::input {

namespace {

// The object whose keys the registry holds, if any.
const ArrowHotKeys* gHolder = nullptr;

}  // namespace

ArrowHotKeys::~ArrowHotKeys() {
    if (gHolder != this) return;
    CarbonKeyboardShortcuts::unregisterAll();
    gHolder = nullptr;
}

void ArrowHotKeys::registerKeyset(Keyset keyset) {
    platform::assertMainThread();
    CarbonKeyboardShortcuts::unregisterAll();
    gHolder = nullptr;
    if (platform::carbonModifiers(configuredFlags_) == 0) return;
    gHolder = this;
    for (const auto keyCode : keyCodes(keyset)) {
        CarbonKeyboardShortcuts::registerShortcut(
            Shortcut(keyCode, configuredFlags_),
            [weak = weak_.ref()](const Shortcut& shortcut) {
                if (auto* self = weak.get()) self->report(shortcut, Press::down);
            },
            [weak = weak_.ref()](const Shortcut& shortcut) {
                if (auto* self = weak.get()) self->report(shortcut, Press::up);
            });
    }
}

void ArrowHotKeys::reregister() {
    platform::assertMainThread();
    if (!configuredFlags_.isEmpty() && isActive_) {
        registerKeyset(Keyset::arrows);
        return;
    }
    CarbonKeyboardShortcuts::unregisterAll();
    gHolder = nullptr;
}

void ArrowHotKeys::report(const Shortcut& shortcut, Press press) const {
    const auto direction = keyDirection(shortcut.carbonKeyCode());
    if (!direction || !delegate_) return;
    if (press == Press::down) {
        delegate_->arrowDidPress(*direction);
    } else {
        delegate_->arrowDidRelease(*direction);
    }
}

}  // namespace zelvana::input
