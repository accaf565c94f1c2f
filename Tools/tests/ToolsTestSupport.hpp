#pragma once

#include <gtest/gtest.h>

#include "Tools/WindowUtil.hpp"
#include "platform/desktop/Desktop.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::tools::test {

// A fresh desktop on virtual time with empty window-list caches: display 1
// (1920 x 1080 at the origin, spaces 1 and 2) and display 2 to its right
// (1280 x 1024, space 3).
class DesktopTestCase : public ::testing::Test {
protected:
    DesktopTestCase() {
        desktop.resetForTesting();
        WindowUtil::resetCachesForTesting();
        auto first = platform::Display::make(1, platform::Rect::make(0, 0, 1920, 1080), "One");
        first.spaces = {1, 2};
        auto second =
            platform::Display::make(2, platform::Rect::make(1920, 0, 1280, 1024), "Two", 0, 1);
        second.spaces = {3};
        desktop.addDisplay(first);
        desktop.addDisplay(second);
    }
    ~DesktopTestCase() override {
        desktop.resetForTesting();
        WindowUtil::resetCachesForTesting();
    }

    platform::testing::TemporaryFolders folders;
    platform::VirtualClock clock;
    platform::Desktop& desktop = platform::Desktop::shared();
};

}  // namespace zelvana::tools::test
