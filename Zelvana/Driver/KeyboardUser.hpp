#pragma once

#include <string_view>

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::driver {

// The person's hands on the simulated keyboard. Modifier keys change the
// held flags with a flags-changed event each (caps lock toggles on its
// down); other keys go down and up with the flags held, so hot keys,
// monitors and taps see what they would see of a person typing. What the
// keys send reaches the application before a call returns. Main thread.
class KeyboardUser {
public:
    // A chord's modifiers in order, then its key.
    Refusal down(const Chord& chord);
    // Its key, then its modifiers in reverse order; refused, with nothing
    // released, when one of them is not down.
    Refusal up(const Chord& chord);
    // Down then up; modifiers held by an earlier down stay held.
    Refusal press(const Chord& chord);
    // Each character with the key (and shift or option) that gives it in the
    // current layout, or a dead key and then the letter it composes with;
    // refused, with nothing typed, when no keys give one.
    Refusal type(std::string_view text);

private:
    void holdModifier(const ModifierKey& modifier);
    void releaseModifier(const ModifierKey& modifier);
};

}  // namespace zelvana::driver
