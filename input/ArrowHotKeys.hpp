#pragma once

#include <cstdint>
#include <memory>

#include "input/Keyset.hpp"
#include "input/ModifierTriggerDelegate.hpp"
#include "input/Shortcut.hpp"

namespace zelvana::input {

// The four direction keys as system-wide hot keys under the configured
// modifiers, reported to the delegate as presses and releases. Main thread
// only.
class ArrowHotKeys {
public:
    ArrowHotKeys();
    // Gives the hot keys back when it holds them.
    ~ArrowHotKeys();
    ArrowHotKeys(const ArrowHotKeys&) = delete;
    ArrowHotKeys& operator=(const ArrowHotKeys&) = delete;

    ModifierTriggerDelegate* delegate() const { return delegate_; }
    void setDelegate(ModifierTriggerDelegate* delegate) { delegate_ = delegate; }
    // Platform modifier flags.
    std::uint64_t configuredFlags() const { return configuredFlags_; }
    void setConfiguredFlags(std::uint64_t flags) { configuredFlags_ = flags; }
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
    void report(const Shortcut& shortcut, bool down) const;

    ModifierTriggerDelegate* delegate_ = nullptr;
    std::uint64_t configuredFlags_ = 0;
    bool isActive_ = false;
    // Held weakly by the hot keys' callbacks, which may outlive this object.
    std::shared_ptr<const ArrowHotKeys*> self_;
};

}  // namespace zelvana::input
