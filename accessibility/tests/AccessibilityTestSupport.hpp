#pragma once

#include <gtest/gtest.h>

#include "accessibility/WindowUtil.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/desktop/AccessibilitySimulator.hpp"
#include "platform/desktop/Desktop.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/input/Mouse.hpp"
#include "platform/input/Permissions.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::accessibility::test {

// A fresh desktop on virtual time: display 1 (1920 x 1080 at the origin,
// spaces 1 and 2) and display 2 to its right (1280 x 1024, space 3); Safari
// (501), Notes (502), the Dock (503) and Notification Center (504) run; ours
// is not active. Accessibility is trusted and nothing is overridden.
class AccessibilityTestCase : public ::testing::Test {
protected:
    static constexpr int safari = 501;
    static constexpr int notes = 502;
    static constexpr int dock = 503;
    static constexpr int notificationCenter = 504;

    AccessibilityTestCase() {
        reset();
        auto first = platform::Display::make(1, platform::Rect::make(0, 0, 1920, 1080), "One");
        first.spaces = {1, 2};
        auto second =
            platform::Display::make(2, platform::Rect::make(1920, 0, 1280, 1024), "Two", 0, 1);
        second.spaces = {3};
        desktop.addDisplay(first);
        desktop.addDisplay(second);
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
    platform::testing::TemporaryFolders folders;
    platform::VirtualClock clock;
    platform::Desktop& desktop = platform::Desktop::shared();

private:
    void reset() {
        platform::Desktop::shared().resetForTesting();
        platform::AccessibilitySimulator::shared().resetForTesting();
        platform::Permissions::resetForTesting();
        platform::Mouse::shared().resetForTesting();
        WindowUtil::resetCacheForTesting();
    }
};

}  // namespace zelvana::accessibility::test
