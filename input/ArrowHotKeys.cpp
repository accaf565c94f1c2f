#include "input/ArrowHotKeys.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/input/CarbonModifiers.hpp"

namespace zelvana::input {

namespace {

// The object whose keys the registry holds, if any.
const ArrowHotKeys* gHolder = nullptr;

}  // namespace

keyboardshortcuts::CarbonKeyboardShortcuts& triggerHotKeys() {
    // Never destroyed: hot-key events may arrive while statics go.
    static auto* shared = new keyboardshortcuts::CarbonKeyboardShortcuts(
        platform::fourCharCode("QDLN"),
        keyboardshortcuts::CarbonKeyboardShortcuts::Suspension::never);
    return *shared;
}

ArrowHotKeys::~ArrowHotKeys() {
    if (gHolder != this) return;
    triggerHotKeys().removeAll();
    gHolder = nullptr;
}

void ArrowHotKeys::registerKeyset(Keyset keyset) {
    platform::assertMainThread();
    triggerHotKeys().removeAll();
    gHolder = nullptr;
    if (platform::carbonModifiers(configuredFlags_) == 0) return;
    gHolder = this;
    for (const auto keyCode : keyCodes(keyset)) {
        const Shortcut shortcut(keyCode, configuredFlags_);
        triggerHotKeys().registerShortcut(
            keyboardshortcuts::Shortcut::fromCarbon(shortcut.carbonKeyCode(),
                                                    shortcut.carbonModifiers()),
            [weak = weak_.ref()](const keyboardshortcuts::Shortcut& pressed) {
                if (auto* self = weak.get()) self->report(pressed.carbonKeyCode(), Press::down);
            },
            [weak = weak_.ref()](const keyboardshortcuts::Shortcut& released) {
                if (auto* self = weak.get()) self->report(released.carbonKeyCode(), Press::up);
            });
    }
}

void ArrowHotKeys::reregister() {
    platform::assertMainThread();
    if (!configuredFlags_.isEmpty() && isActive_) {
        registerKeyset(Keyset::arrows);
        return;
    }
    triggerHotKeys().removeAll();
    gHolder = nullptr;
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
