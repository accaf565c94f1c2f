#pragma once

#include <cstdint>

#include "platform/appkit/Event.hpp"

namespace zelvana::core {

// What the settings window asks of the hub after it stored a setting whose
// change the hub applies itself. Main thread.
class PreferencesDelegate {
public:
    virtual ~PreferencesDelegate() = default;
    virtual void repetitionModeDidChange() = 0;
    // The new value of the setting `gesture` (0 off, 1 to 8 a gesture).
    virtual void gestureDidChange(std::int64_t gesture) = 0;
    // The new arrow-key modifier flags; empty when they were cleared.
    virtual void arrowFlagsDidChange(platform::ModifierFlags flags) = 0;
};

}  // namespace zelvana::core
