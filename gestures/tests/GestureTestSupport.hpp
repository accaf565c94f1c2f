#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gestures/GestureDelegate.hpp"
#include "gestures/TouchPreprocessor.hpp"
#include "platform/appkit/Alert.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/EventTap.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/simulator/PermissionSwitches.hpp"
#include "platform/simulator/Trackpad.hpp"
#include "platform/system/SystemVersion.hpp"

namespace zelvana::gestures::test {

// Writes what it hears as "<gesture> <direction>" or "end <gesture>".
class RecordingDelegate final : public GestureDelegate {
public:
    void gestureRecognized(GestureMatch::Packed match) override {
        packed.push_back(match);
        heard.push_back(describe(match));
    }
    void gestureEnded(GestureMatch::Packed match) override {
        packed.push_back(match);
        heard.push_back("end " + describe(match));
    }

    static std::string describe(GestureMatch::Packed value) {
        static const char* const gestures[] = {"threeSwipe",   "fourSwipe",   "threeToOne",
                                               "fourToOne",    "fiveToOne",   "threeToOneDir",
                                               "fourToOneDir", "fiveToOneDir"};
        static const char* const directions[] = {"u", "d", "l", "r", "ul", "ur", "dl", "dr"};
        const auto match = GestureMatch::unpacked(value);
        if (!match) return "invalid";
        std::string text = gestures[position(match->gesture)];
        if (match->direction)
            text += std::string(" ") + directions[rawValue(*match->direction) - 1];
        return text;
    }

    std::vector<std::string> heard;
    std::vector<GestureMatch::Packed> packed;
};

// A quiet machine: no fingers or taps, every permission granted, the
// pointer at the origin, our application inactive, and a trackpad whose
// size (512 x 320 points) makes the usual step lengths exact.
class GestureTest : public ::testing::Test {
protected:
    GestureTest() {
        resetAll();
        pad.setDeviceSize({512, 320});
    }
    ~GestureTest() override {
        finishPrompts();
        resetAll();
    }

    // Prompts still polling see trust and finish within this test.
    void finishPrompts() {
        platform::PermissionSwitches::setAccessibilityTrusted(true);
        clock.advance(1000);
    }

    static void resetAll() {
        platform::Trackpad::shared().resetForTesting();
        platform::Mouse::shared().resetForTesting();
        platform::EventTap::resetForTesting();
        platform::EventMonitors::resetForTesting();
        platform::PermissionSwitches::resetForTesting();
        platform::SystemVersion::resetForTesting();
        platform::Application::shared().resetForTesting();
        platform::Alert::resetForTesting();
        platform::Workspace::shared().clearOpenedURLsForTesting();
        platform::RunLoop::main().resetForTesting();
    }

    // Device points along each axis, as normalised positions.
    static double px(double points) { return points / 512.0; }
    static double py(double points) { return points / 320.0; }

    // Puts `count` fingers (1, 2, ...) down in a row, 64 points apart.
    void touchDown(int count, double x = 0.25, double y = 0.5) {
        for (int finger = 1; finger <= count; ++finger) {
            pad.touchDown(finger, {x + px(64) * (finger - 1), y});
        }
    }
    // The staged frame, through the preprocessor.
    TouchEvent frame() { return preprocessor.touchEvent(pad.nextFrame()); }
    // Sends the staged frame to a processor, `ms` milliseconds from now.
    template <typename Processor>
    void feed(Processor& processor, double ms = 0) {
        clock.advance(ms);
        processor.process(frame());
    }

    platform::VirtualClock clock;
    platform::Trackpad& pad = platform::Trackpad::shared();
    TouchPreprocessor preprocessor;
    RecordingDelegate delegate;
};

}  // namespace zelvana::gestures::test
