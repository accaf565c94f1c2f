#pragma once

#include "gestures/GestureDelegate.hpp"
#include "gestures/Recognizer.hpp"
#include "gestures/TouchEvent.hpp"

namespace zelvana::gestures {

// One stage of the manager's pipeline: a recognizer configured for one
// gesture. Apart from its own state, its effects are calls on the delegate
// (and, for the direction recognizer, holding the pointer still).
class TouchEventProcessor {
public:
    virtual ~TouchEventProcessor() = default;
    virtual Recognizer recognizerType() const = 0;
    // Non-owning, may be null: the gesture manager's delegate, which outlives the
    // manager that owns this.
    virtual GestureDelegate* delegate() const = 0;
    virtual void setDelegate(GestureDelegate* delegate) = 0;
    virtual void process(const TouchEvent& event) = 0;
};

}  // namespace zelvana::gestures
