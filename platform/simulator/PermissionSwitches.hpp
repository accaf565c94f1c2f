#pragma once

#include "platform/system/Permissions.hpp"

namespace zelvana::platform {

// The switches in the simulated machine's privacy settings, as its user turns
// them. Taking a permission away disables the event taps it allowed (see
// EventTap). Thread-safe.
class PermissionSwitches {
public:
    using Access = Permissions::Access;

    static void setAccessibilityTrusted(bool trusted);
    static void setInputMonitoringAccess(Access access);
    // Both granted again.
    static void resetForTesting();

    PermissionSwitches() = delete;
};

}  // namespace zelvana::platform
