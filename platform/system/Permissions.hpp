#pragma once

namespace zelvana::platform {

class PermissionSwitches;

// The privacy permissions that input capture needs: trust for accessibility
// (AXIsProcessTrusted) and access for input monitoring (IOHIDCheckAccess with
// the listen-event request). Both are granted unless the simulated user takes
// them away (PermissionSwitches). Thread-safe.
class Permissions {
public:
    enum class Access { granted, denied, unknown };

    static bool isAccessibilityTrusted();
    static Access inputMonitoringAccess();

    Permissions() = delete;

private:
    friend class PermissionSwitches;
    static void setAccessibilityTrusted(bool trusted);
    static void setInputMonitoringAccess(Access access);
};

}  // namespace zelvana::platform
