#pragma once

#include <cstdint>
#include <optional>

namespace zelvana::core {

// What the settings window asks of the hub after it stored a setting whose
// change the hub applies itself. Main thread.
class PreferencesDelegate {
public:
    virtual ~PreferencesDelegate() = default;
    virtual void repetitionModeDidChange() = 0;
    // The new value of the setting `gesture` (0 off, 1 to 8 a gesture).
    virtual void gestureDidChange(std::int64_t gesture) = 0;
    // The new arrow-key modifier flags; the window hands 0 when they were cleared.
    virtual void arrowFlagsDidChange(std::optional<std::int64_t> flags) = 0;
};

}  // namespace zelvana::core
