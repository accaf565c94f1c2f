#pragma once

#include <gtest/gtest.h>

#include "DropPane/DropPane.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Pasteboard.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/simulator/FileDrag.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::droppane::test {

// One 1440 x 900 display on virtual time, another application in front, no
// monitors, an untouched drag pasteboard and the pointer at the origin.
class DropPaneTestCase : public ::testing::Test {
protected:
    DropPaneTestCase() {
        reset();
        desktop.addDisplay(
            platform::Display::make(1, platform::Rect::make(0, 0, 1440, 900), "One"));
        platform::Application::shared().deactivate();
    }
    ~DropPaneTestCase() override { reset(); }

    static platform::Image image() { return platform::Image(platform::Size{32, 32}); }
    static DropUnit receiving(std::vector<std::string>& into) {
        return DropUnit::receiving(image(), "Inbox", [&into](const std::vector<std::string>& urls) {
            into.insert(into.end(), urls.begin(), urls.end());
        });
    }
    static DropPaneOptions optionsWith(std::vector<DropUnit> units,
                                       DropPaneLocation location = DropPaneLocation::bottomRight) {
        DropPaneOptions options;
        options.location = location;
        options.dropUnits = std::move(units);
        return options;
    }

    platform::testing::TemporaryFolders folders;
    platform::VirtualClock clock;
    platform::Desktop& desktop = platform::Desktop::shared();

private:
    static void reset() {
        platform::Desktop::shared().resetForTesting();
        platform::EventMonitors::resetForTesting();
        platform::Pasteboard::withName(platform::kPasteboardNameDrag).resetForTesting();
        platform::Mouse::shared().resetForTesting();
    }
};

}  // namespace zelvana::droppane::test
