#pragma once

#include <cstdint>
#include <memory>

#include "input/ArrowHotKeys.hpp"
#include "input/ModAndMouseListener.hpp"
#include "input/ModifierTriggerDelegate.hpp"

namespace zelvana::input {

// Reports to one delegate while a combination of modifier keys is in use:
// the arrow keys pressed with it anywhere in the system (as hot keys), and,
// with mouse listening, the combination becoming held or let go and the
// pointer moving while it is held. Every write takes effect at once, also
// when the value does not change. Main thread only.
class ModifierTrigger {
public:
    enum class Arrows { off, on };
    enum class Mouse { off, on };

    // `modifierFlags` are platform modifier flags (empty for none). The
    // delegate is not owned and must outlive the trigger, or be replaced first.
    ModifierTrigger(platform::ModifierFlags modifierFlags, Arrows arrows, Mouse mouse,
                    ModifierTriggerDelegate* delegate);
    ModifierTrigger(const ModifierTrigger&) = delete;
    ModifierTrigger& operator=(const ModifierTrigger&) = delete;

    platform::ModifierFlags modifierFlags() const { return modifierFlags_; }
    // Registers the arrows under the new modifiers and restarts the
    // modifier listener; no release is reported.
    void setModifierFlags(platform::ModifierFlags flags);
    bool hasActiveArrows() const { return hasActiveArrows_; }
    void setHasActiveArrows(bool active);
    bool hasActiveMouseListening() const { return hasActiveMouseListening_; }
    void setHasActiveMouseListening(bool active);
    ModifierTriggerDelegate* delegate() const { return delegate_; }
    void setDelegate(ModifierTriggerDelegate* delegate);

    const ArrowHotKeys& arrowHotkeys() const { return *arrowHotkeys_; }
    const ModAndMouseListener& modAndMouseListener() const { return *modAndMouseListener_; }

private:
    platform::ModifierFlags modifierFlags_;
    bool hasActiveArrows_;
    bool hasActiveMouseListening_;
    ModifierTriggerDelegate* delegate_;
    const std::unique_ptr<ArrowHotKeys> arrowHotkeys_;
    const std::unique_ptr<ModAndMouseListener> modAndMouseListener_;
};

}  // namespace zelvana::input
