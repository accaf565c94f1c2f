#pragma once

#include "input/Cardinal.hpp"

namespace zelvana::input {

// Hears what a ModifierTrigger reports, always on the main thread. Every
// operation does nothing unless overridden.
class ModifierTriggerDelegate {
public:
    virtual ~ModifierTriggerDelegate() = default;
    // The configured modifiers became held.
    virtual void modifiersDidPress() {}
    // A change of the modifiers left the configured ones not held.
    virtual void modifiersDidRelease() {}
    // The pointer moved while the configured modifiers are held.
    virtual void mouseDidMove() {}
    virtual void arrowDidPress(Cardinal /*direction*/) {}
    virtual void arrowDidRelease(Cardinal /*direction*/) {}
};

}  // namespace zelvana::input
