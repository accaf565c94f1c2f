#include "platform/simulator/PermissionSwitches.hpp"

#include "platform/input/EventTap.hpp"

namespace zelvana::platform {

void PermissionSwitches::setAccessibilityTrusted(bool trusted) {
    Permissions::setAccessibilityTrusted(trusted);
    if (!trusted) EventTap::disableTapsNoLongerAllowed();
}

void PermissionSwitches::setInputMonitoringAccess(Access access) {
    Permissions::setInputMonitoringAccess(access);
    if (access != Access::granted) EventTap::disableTapsNoLongerAllowed();
}

void PermissionSwitches::resetForTesting() {
    Permissions::setAccessibilityTrusted(true);
    Permissions::setInputMonitoringAccess(Access::granted);
}

}  // namespace zelvana::platform
