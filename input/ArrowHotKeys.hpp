#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "KeyboardShortcuts/CarbonKeyboardShortcuts.hpp"
#include "input/Keyset.hpp"
#include "input/ModifierTriggerDelegate.hpp"
#include "input/Shortcut.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::input {

// The modifier trigger's hot-key registry: signature 'QDLN', never suspended.
keyboardshortcuts::CarbonKeyboardShortcuts& triggerHotKeys();

// The four direction keys as system-wide hot keys under the configured
// modifiers, reported to the delegate as presses and releases. Main thread
// only.
class ArrowHotKeys {
public:
    ArrowHotKeys() = default;
    ArrowHotKeys(const ArrowHotKeys&) = delete;
    ArrowHotKeys& operator=(const ArrowHotKeys&) = delete;

    // Non-owning: the trigger's delegate, which outlives the trigger that owns this.
    ModifierTriggerDelegate* delegate() const { return delegate_; }
    void setDelegate(ModifierTriggerDelegate* delegate) { delegate_ = delegate; }
    // Platform modifier flags.
    platform::ModifierFlags configuredFlags() const { return configuredFlags_; }
    void setConfiguredFlags(platform::ModifierFlags flags) { configuredFlags_ = flags; }
    bool isActive() const { return isActive_; }
    void setActive(bool active) { isActive_ = active; }

    // Replaces every hot key of the trigger's registry with the key set's
    // four under the configured modifiers. Flags without control, option,
    // shift or command register none: bare keys are never taken from every
    // application.
    void registerKeyset(Keyset keyset);
    // The arrows while active with flags configured; otherwise none.
    void reregister();

private:
    enum class Press { down, up };
    void report(std::int64_t keyCode, Press press) const;
    void removeAll();

    ModifierTriggerDelegate* delegate_ = nullptr;
    platform::ModifierFlags configuredFlags_;
    bool isActive_ = false;
    // Its own hot keys, given back when it goes.
    std::vector<platform::Subscription> hotKeys_;
    // For the hot keys' callbacks, which may outlive this object.
    platform::WeakFactory<ArrowHotKeys> weak_{this};
};

}  // namespace zelvana::input
