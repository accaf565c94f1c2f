#include "input/ArrowHotKeys.hpp"

#include "input/CarbonKeyboardShortcuts.hpp"

namespace zelvana::input {

namespace {

// The object whose keys the registry holds, if any.
const ArrowHotKeys* gHolder = nullptr;

}  // namespace

ArrowHotKeys::ArrowHotKeys() : self_(std::make_shared<const ArrowHotKeys*>(this)) {}

ArrowHotKeys::~ArrowHotKeys() {
    if (gHolder != this) return;
    CarbonKeyboardShortcuts::unregisterAll();
    gHolder = nullptr;
}

void ArrowHotKeys::registerKeyset(Keyset keyset) {
    CarbonKeyboardShortcuts::unregisterAll();
    gHolder = nullptr;
    if (carbonModifiersFromFlags(configuredFlags_) == 0) return;
    gHolder = this;
    const std::weak_ptr<const ArrowHotKeys*> weak = self_;
    for (const auto keyCode : keyCodes(keyset)) {
        CarbonKeyboardShortcuts::registerShortcut(
            Shortcut(keyCode, configuredFlags_),
            [weak](const Shortcut& shortcut) {
                if (auto self = weak.lock()) (*self)->report(shortcut, true);
            },
            [weak](const Shortcut& shortcut) {
                if (auto self = weak.lock()) (*self)->report(shortcut, false);
            });
    }
}

void ArrowHotKeys::reregister() {
    if (configuredFlags_ != 0 && isActive_) {
        registerKeyset(Keyset::arrows);
        return;
    }
    CarbonKeyboardShortcuts::unregisterAll();
    gHolder = nullptr;
}

void ArrowHotKeys::report(const Shortcut& shortcut, bool down) const {
    const auto direction = keyDirection(shortcut.carbonKeyCode());
    if (!direction || !delegate_) return;
    if (down) {
        delegate_->arrowDidPress(*direction);
    } else {
        delegate_->arrowDidRelease(*direction);
    }
}

}  // namespace zelvana::input
