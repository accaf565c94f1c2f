#include "input/ArrowHotKeys.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/input/CarbonModifiers.hpp"

namespace zelvana::input {

keyboardshortcuts::CarbonKeyboardShortcuts& triggerHotKeys() {
    // Never destroyed: hot-key events may arrive while statics go.
    static auto* shared = new keyboardshortcuts::CarbonKeyboardShortcuts(
        platform::fourCharCode("QDLN"),
        keyboardshortcuts::CarbonKeyboardShortcuts::Suspension::never);
    return *shared;
}

void ArrowHotKeys::registerKeyset(Keyset keyset) {
    platform::assertMainThread();
    removeAll();
    if (platform::carbonModifiers(configuredFlags_) == 0) return;
    for (const auto keyCode : keyCodes(keyset)) {
        const Shortcut shortcut(keyCode, configuredFlags_);
        hotKeys_.push_back(triggerHotKeys().registerShortcut(
            keyboardshortcuts::Shortcut::fromCarbon(shortcut.carbonKeyCode(),
                                                    shortcut.carbonModifiers()),
            [weak = weak_.ref()](const keyboardshortcuts::Shortcut& pressed) {
                if (auto* self = weak.get()) self->report(pressed.carbonKeyCode(), Press::down);
            },
            [weak = weak_.ref()](const keyboardshortcuts::Shortcut& released) {
                if (auto* self = weak.get()) self->report(released.carbonKeyCode(), Press::up);
            }));
    }
}

void ArrowHotKeys::reregister() {
    platform::assertMainThread();
    if (!configuredFlags_.isEmpty() && isActive_) {
        registerKeyset(Keyset::arrows);
        return;
    }
    removeAll();
}

void ArrowHotKeys::removeAll() {
    // Every hot key of the registry, also those another trigger left there.
    triggerHotKeys().removeAll();
    hotKeys_.clear();
}

void ArrowHotKeys::report(std::int64_t keyCode, Press press) const {
    const auto direction = keyDirection(keyCode);
    if (!direction || !delegate_) return;
    if (press == Press::down) {
        delegate_->arrowDidPress(*direction);
    } else {
        delegate_->arrowDidRelease(*direction);
    }
}

}  // namespace zelvana::input
