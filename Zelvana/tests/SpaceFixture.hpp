#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Logging/testing/LogRecorder.hpp"
#include "Zelvana/Space.hpp"
#include "Zelvana/tests/ZelvanaTestSupport.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/system/SystemVersion.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::core::test {

// Fresh settings, an empty simulated desktop, a fresh switcher and a record
// of everything logged.
class SpaceFixture : public SettingsFixture {
protected:
    static constexpr double screenWidth = 1920;
    static constexpr double screenHeight = 1080;

    SpaceFixture() {
        platform::SystemVersion::resetForTesting();
        platform::Application::shared().resetForTesting();
        desktop.resetForTesting();
        switcher::SpaceSwitcher::resetSharedForTesting();
        logging::Logging::addDestination(log);
    }
    ~SpaceFixture() override {
        clock.advance(5000);
        logging::Logging::removeDestination(log);
        switcher::SpaceSwitcher::resetSharedForTesting();
        desktop.resetForTesting();
        platform::SystemVersion::resetForTesting();
    }

    // Side by side, numbered from 1.
    platform::Screen addDisplay(platform::DisplayID number) {
        const auto frame =
            platform::Rect::make(screenWidth * (number - 1), 0, screenWidth, screenHeight);
        desktop.addDisplay(platform::Display::make(number, frame, "Display"));
        return desktop.display(number)->screen();
    }
    // A running application whose icon is drawn from its name.
    void addApplication(int pid, const std::string& name) {
        desktop.addApplication(platform::DesktopApplication{
            pid, name, "com.example." + name, "/Applications/" + name + ".app", name});
    }
    static tools::WindowInfo windowOf(int pid, std::uint32_t number) {
        return tools::WindowInfo{number, 0, platform::Rect::make(0, 0, 800, 600), pid, "App"};
    }

    // A space whose active anchor the switcher knows, on the screen's shown
    // space, with the given cells.
    std::shared_ptr<Space> spaceOn(const platform::Screen& screen,
                                   Space::CoordinateMap coordinates = {}) {
        auto anchor = switcher::SpaceSwitcher::shared().addAnchor(screen);
        return std::make_shared<Space>(
            Space::Fields{.anchor = anchor, .coordinates = std::move(coordinates)});
    }

    bool logged(const std::string& message) const { return log->find(message).has_value(); }

    platform::Desktop& desktop = platform::Desktop::shared();
    std::shared_ptr<logging::testing::LogRecorder> log =
        std::make_shared<logging::testing::LogRecorder>();
};

}  // namespace zelvana::core::test
