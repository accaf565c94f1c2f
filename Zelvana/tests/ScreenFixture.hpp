#pragma once

#include <string>

#include "Zelvana/tests/ZelvanaTestSupport.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/simulator/Desktop.hpp"

namespace zelvana::core::test {

// Counts the posts of one notification, and whether all came on the main thread.
class PostCounter {
public:
    explicit PostCounter(const std::string& name)
        : observer_(platform::NotificationCenter::defaultCenter().addObserver(
              name, [this](const platform::Notification& note) {
                  ++count;
                  onMainThread = onMainThread && platform::isMainThread();
                  last = note;
              })) {}

    int count = 0;
    bool onMainThread = true;
    platform::Notification last;

private:
    platform::Subscription observer_;
};

// The settings fixture with an empty simulated desktop.
class ScreenFixture : public SettingsFixture {
protected:
    static constexpr double screenWidth = 1920;
    static constexpr double screenHeight = 1080;
    static constexpr std::uint32_t vendorNumber = 1552;
    static constexpr std::uint32_t modelNumber = 41001;

    ScreenFixture() { desktop.resetForTesting(); }
    ~ScreenFixture() override { desktop.resetForTesting(); }

    // Side by side, numbered from 1 unless a frame is given.
    platform::Screen addDisplay(platform::DisplayID number, std::string name = "Display",
                                std::uint32_t serial = 0) {
        return addDisplay(number, frameOf(number), std::move(name), serial);
    }
    platform::Screen addDisplay(platform::DisplayID number, platform::Rect frame,
                                std::string name = "Display", std::uint32_t serial = 0) {
        desktop.addDisplay(platform::Display::make(number, frame, std::move(name), vendorNumber,
                                                   modelNumber, serial));
        return desktop.display(number)->screen();
    }
    static platform::Rect frameOf(platform::DisplayID number) {
        return platform::Rect::make(screenWidth * (number - 1), 0, screenWidth, screenHeight);
    }

    platform::Desktop& desktop = platform::Desktop::shared();
};

}  // namespace zelvana::core::test
