#include "platform/system/Permissions.hpp"

#include <atomic>

namespace zelvana::platform {

namespace {

std::atomic<bool> gAccessibilityTrusted{true};
std::atomic<Permissions::Access> gInputMonitoring{Permissions::Access::granted};

}  // namespace

bool Permissions::isAccessibilityTrusted() {
    return gAccessibilityTrusted;
}

void Permissions::setAccessibilityTrusted(bool trusted) {
    gAccessibilityTrusted = trusted;
}

Permissions::Access Permissions::inputMonitoringAccess() {
    return gInputMonitoring;
}

void Permissions::setInputMonitoringAccess(Access access) {
    gInputMonitoring = access;
}

}  // namespace zelvana::platform
