#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/WindowRestoration.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {

// A fresh desktop with two side-by-side displays: 1 (1920 x 1080, spaces 1-3,
// showing 1) and 2 to its right (1280 x 1024, spaces 4-5, showing 4); an
// inactive application; virtual time; and a count of active-space posts.
class DesktopFixture : public ::testing::Test {
protected:
    DesktopFixture() {
        Application::shared().resetForTesting();
        WindowRestoration::removeAllForTesting();
        desktop.resetForTesting();
        auto first = Display::make(1, Rect::make(0, 0, 1920, 1080), "Built-in", 1552, 41001, 7);
        first.spaces = {1, 2, 3};
        auto second = Display::make(2, Rect::make(1920, 0, 1280, 1024), "Studio", 1552, 44, 9);
        second.spaces = {4, 5};
        desktop.addDisplay(first);
        desktop.addDisplay(second);
        token = Workspace::shared().notificationCenter().addObserver(
            Workspace::activeSpaceDidChangeNotification, [this](const Notification&) { ++posts; });
    }
    // Lets a switch run to its end: 250 ms.
    void settle() { clock.advance(250); }
    void switchTo(SpaceID space) {
        ASSERT_TRUE(desktop.switchToSpace(space));
        settle();
    }

    ~DesktopFixture() override {
        clock.runPending();
        token.cancel();
        desktop.resetForTesting();
        Application::shared().resetForTesting();
    }

    testing::TemporaryFolders folders;
    VirtualClock clock;
    Desktop& desktop = Desktop::shared();
    Subscription token;
    int posts = 0;
};

}  // namespace zelvana::platform
