#pragma once

namespace zelvana::platform {

enum class EventTapOptions;  // EventTap.hpp

// The privacy permissions that input capture needs: trust for accessibility
// (AXIsProcessTrusted) and access for input monitoring (IOHIDCheckAccess with
// the listen-event request). Both are granted unless tests take them away.
// Taking one away disables the event taps it allowed (see EventTap).
// Thread-safe.
class Permissions {
public:
    enum class Access { granted, denied, unknown };

    static bool isAccessibilityTrusted();
    static void setAccessibilityTrusted(bool trusted);
    static Access inputMonitoringAccess();
    static void setInputMonitoringAccess(Access access);

    // Whether an event tap may be made: an active tap needs accessibility
    // trust; a listen-only tap needs either permission.
    static bool allowsEventTap(EventTapOptions options);

    // Both granted again.
    static void resetForTesting();

    Permissions() = delete;
};

}  // namespace zelvana::platform
