#pragma once

#include <gtest/gtest.h>

#include "platform/appkit/Application.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/system/SystemVersion.hpp"
#include "platform/testing/TemporaryFolders.hpp"
#include "switcher/SpaceSwitcher.hpp"
#include "switcher/tests/RecordingSwitcherDelegate.hpp"

namespace zelvana::switcher {

// A fresh desktop, application and switcher on the virtual clock.
class SwitcherFixture : public ::testing::Test {
protected:
    static constexpr double displayWidth = 1920;
    static constexpr double displayHeight = 1080;
    // Long enough for a switch to end (250 ms) and the refresh 50 ms after it to run.
    static constexpr double settleMilliseconds = 400;

    void SetUp() override {
        platform::SystemVersion::resetForTesting();
        platform::Application::shared().resetForTesting();
        desktop.resetForTesting();
        SpaceSwitcher::resetSharedForTesting();
        SpaceSwitcher::registerRestorationClass();
    }
    void TearDown() override {
        clock.advance(5000);  // leave no work for the next test
        SpaceSwitcher::resetSharedForTesting();
        desktop.resetForTesting();
        platform::SystemVersion::resetForTesting();
    }

    // Displays sit side by side, numbered from 1, each with `spaces` spaces.
    platform::Screen addDisplay(platform::DisplayID number, int spaces = 1) {
        const auto frame =
            platform::Rect::make(displayWidth * (number - 1), 0, displayWidth, displayHeight);
        desktop.addDisplay(platform::Display::make(number, frame, "Display"));
        for (int extra = 1; extra < spaces; ++extra) desktop.addSpace(number);
        return desktop.display(number)->screen();
    }
    std::vector<platform::SpaceID> spacesOf(platform::DisplayID number) const {
        return desktop.display(number)->spaces;
    }
    // The user's switch, with the refresh that follows it.
    void switchAndSettle(platform::SpaceID space) {
        desktop.switchToSpace(space);
        clock.advance(settleMilliseconds);
    }
    SpaceSwitcher& switcher() { return SpaceSwitcher::shared(); }
    std::shared_ptr<SpaceAnchor> anchor(std::size_t index) {
        return switcher().anchors().at(index);
    }

    platform::testing::TemporaryFolders folders;
    platform::VirtualClock clock;
    platform::Desktop& desktop = platform::Desktop::shared();
    RecordingSwitcherDelegate delegate;
};

}  // namespace zelvana::switcher
