#pragma once

#include "accessibility/WindowUtil.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/simulator/AccessibilitySimulator.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/simulator/PermissionSwitches.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::accessibility::test {

// The two-display desktop on virtual time with Safari (501), Notes (502),
// the Dock (503) and Notification Center (504) running; ours is not active.
// Accessibility is trusted and nothing is overridden.
class AccessibilityTestCase : public platform::testing::TwoDisplayTest {
protected:
    static constexpr int safari = 501;
    static constexpr int notes = 502;
    static constexpr int dock = 503;
    static constexpr int notificationCenter = 504;

    AccessibilityTestCase() {
        reset();
        desktop.addApplication(
            {safari, "Safari", "com.apple.Safari", "/Applications/Safari.app", ""});
        desktop.addApplication({notes, "Notes", "com.apple.Notes", "/Applications/Notes.app", ""});
        desktop.addApplication({dock, "Dock", "com.apple.dock", "/System/Dock.app", ""});
        desktop.addApplication({notificationCenter, "Notification Center",
                                "com.apple.notificationcenterui", "/System/NC.app", ""});
        platform::Application::shared().deactivate();
    }
    ~AccessibilityTestCase() override { reset(); }

    platform::WindowNumber add(int pid, platform::Rect bounds, int layer = 0) {
        return desktop.addWindow({0, pid, "", layer, bounds});
    }
    platform::AccessibilitySimulator& simulator = platform::AccessibilitySimulator::shared();

private:
    void reset() {
        platform::AccessibilitySimulator::shared().resetForTesting();
        platform::PermissionSwitches::resetForTesting();
        platform::Mouse::shared().resetForTesting();
        WindowUtil::resetCacheForTesting();
    }
};

}  // namespace zelvana::accessibility::test
