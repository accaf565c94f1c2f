#include "platform/input/Permissions.hpp"

#include <atomic>

#include "platform/input/EventTap.hpp"

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
    if (!trusted) EventTap::disableTapsNoLongerAllowed();
}

Permissions::Access Permissions::inputMonitoringAccess() {
    return gInputMonitoring;
}

void Permissions::setInputMonitoringAccess(Access access) {
    gInputMonitoring = access;
    if (access != Access::granted) EventTap::disableTapsNoLongerAllowed();
}

bool Permissions::allowsEventTap(EventTapOptions options) {
    if (isAccessibilityTrusted()) return true;
    return options == EventTapOptions::listenOnly && inputMonitoringAccess() == Access::granted;
}

void Permissions::resetForTesting() {
    gAccessibilityTrusted = true;
    gInputMonitoring = Access::granted;
}

}  // namespace zelvana::platform
