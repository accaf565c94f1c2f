#include "gestures/Gestures.hpp"

#include <gtest/gtest.h>

#include "gestures/RestToOneDirectionRecognizer.hpp"
#include "gestures/RestToOneRecognizer.hpp"
#include "gestures/SwipeRecognizer.hpp"
#include "gestures/tests/GestureTestSupport.hpp"
#include "platform/simulator/PermissionSwitches.hpp"

namespace zelvana::gestures::test {
namespace {

using platform::EventTap;
using platform::Permissions;
using platform::PermissionSwitches;

class GesturesTest : public GestureTest {
protected:
    // Fingers come down, sweep left and lift, through the trackpad.
    void swipeLeft(int fingers) {
        touchDown(fingers);
        pad.sendFrame();
        clock.advance(100);
        pad.moveAll(-0.3, 0);
        pad.sendFrame();
        pad.liftAll();
        pad.sendFrame();
        clock.runPending();
    }
    static void withholdTrust() {
        PermissionSwitches::setAccessibilityTrusted(false);
        PermissionSwitches::setInputMonitoringAccess(Permissions::Access::denied);
    }
    static void grantTrust() {
        PermissionSwitches::setAccessibilityTrusted(true);
        PermissionSwitches::setInputMonitoringAccess(Permissions::Access::granted);
    }
};

TEST_F(GesturesTest, BuildsOneRecognizerPerKindFromTheFirstGestureOfThatKind) {
    Gestures manager({Gesture::fourSwipe, Gesture::threeSwipe, Gesture::fourToOneDir,
                      Gesture::threeToOne, Gesture::fiveToOne},
                     {}, &delegate);
    const auto& pipeline = manager.processorPipeline();
    ASSERT_EQ(pipeline.size(), 3u);
    auto* swipe = dynamic_cast<SwipeRecognizer*>(pipeline[0].get());
    auto* steering = dynamic_cast<RestToOneDirectionRecognizer*>(pipeline[1].get());
    auto* rest = dynamic_cast<RestToOneRecognizer*>(pipeline[2].get());
    ASSERT_TRUE(swipe && steering && rest);
    EXPECT_EQ(swipe->configuredGesture(), Gesture::fourSwipe);
    EXPECT_EQ(steering->configuredGesture(), Gesture::fourToOneDir);
    EXPECT_EQ(rest->configuredGesture(), Gesture::threeToOne);
    for (const auto& processor : pipeline) EXPECT_EQ(processor->delegate(), &delegate);

    const EventTapListener& listener = manager.tapListener();
    ASSERT_TRUE(listener.isRunning());
    EXPECT_EQ(listener.servedBy(), EventTapListener::Served::onMain);
    EXPECT_EQ(listener.mask().rawValue(), 1u << 29);
    EXPECT_FALSE(manager.accessibilityAuth()) << "trusted already: no prompt";
    EXPECT_EQ(platform::Window::keyWindow(), nullptr);
    EXPECT_EQ(manager.monitorPrivilege(), MonitorPrivilege::accessibility);
}

TEST_F(GesturesTest, TrackpadSwipesReachTheDelegateOnlyWhileAGestureIsChosen) {
    Gestures manager({}, {}, &delegate);
    EXPECT_TRUE(manager.processorPipeline().empty());
    EXPECT_FALSE(manager.tapListener().isRunning());
    EXPECT_FALSE(manager.accessibilityAuth());
    swipeLeft(3);
    EXPECT_TRUE(delegate.heard.empty());

    manager.setGestures({Gesture::threeSwipe});
    swipeLeft(3);
    swipeLeft(4);
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"threeSwipe l"});
}

TEST_F(GesturesTest, TogglingTheSettingKeepsAtMostOneLiveTapAndNoneWhileOff) {
    Gestures manager({Gesture::threeToOne}, {}, &delegate);
    manager.setGestures({Gesture::threeToOne});
    manager.setGestures({Gesture::threeToOne, Gesture::threeSwipe});
    EXPECT_EQ(EventTap::taps().size(), 1u);
    manager.setGestures({});
    EXPECT_FALSE(manager.tapListener().isRunning());
    EXPECT_TRUE(EventTap::taps().empty());
    manager.setGestures({Gesture::threeSwipe});
    EXPECT_EQ(EventTap::taps().size(), 1u);
    swipeLeft(3);
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"threeSwipe l"});
}

TEST_F(GesturesTest, TrustGrantedLaterStartsTheTapAndAWaitingPromptIsReused) {
    withholdTrust();
    Gestures manager({Gesture::threeSwipe}, {}, &delegate);
    ASSERT_TRUE(manager.accessibilityAuth());
    auto* prompt = manager.accessibilityAuth()->accessibilityWindowController();
    ASSERT_TRUE(prompt);
    EXPECT_TRUE(prompt->window()->isVisible());
    EXPECT_FALSE(manager.tapListener().isRunning());
    swipeLeft(3);
    EXPECT_TRUE(delegate.heard.empty());

    manager.setGestures({Gesture::fourSwipe});
    EXPECT_EQ(manager.accessibilityAuth()->accessibilityWindowController(), prompt);
    clock.advance(600);
    EXPECT_FALSE(manager.tapListener().isRunning());

    grantTrust();
    clock.advance(300);
    EXPECT_TRUE(manager.tapListener().isRunning());
    EXPECT_FALSE(manager.accessibilityAuth());
    EXPECT_EQ(EventTap::taps().size(), 1u);
    swipeLeft(4);
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"fourSwipe l"});
}

TEST_F(GesturesTest, GesturesSwitchedOffWhileThePromptWaitsStartNoTapOnGrant) {
    withholdTrust();
    Gestures manager({Gesture::threeSwipe}, {}, &delegate);
    manager.setGestures({});
    grantTrust();
    clock.advance(300);
    EXPECT_FALSE(manager.tapListener().isRunning());
    EXPECT_TRUE(EventTap::taps().empty());
    EXPECT_FALSE(manager.accessibilityAuth());
}

TEST_F(GesturesTest, APromptOutlivingItsManagerStartsNothing) {
    withholdTrust();
    { Gestures manager({Gesture::threeSwipe}, {}, &delegate); }
    grantTrust();
    clock.advance(300);
    EXPECT_TRUE(EventTap::taps().empty());
}

TEST_F(GesturesTest, WithInputMonitoringEachRebuildThatLacksAccessAlerts) {
    PermissionSwitches::setInputMonitoringAccess(Permissions::Access::denied);
    Gestures manager({Gesture::threeSwipe}, {MonitorPrivilege::inputMonitoring}, &delegate);
    EXPECT_FALSE(manager.tapListener().isRunning());
    manager.setGestures({Gesture::threeToOne});
    EXPECT_EQ(platform::Alert::ranAlerts().size(), 2u);
    manager.setGestures({});
    EXPECT_EQ(platform::Alert::ranAlerts().size(), 2u);
    EXPECT_FALSE(manager.accessibilityAuth());

    PermissionSwitches::setInputMonitoringAccess(Permissions::Access::granted);
    manager.setGestures({Gesture::threeSwipe});
    EXPECT_TRUE(manager.tapListener().isRunning());
    EXPECT_EQ(platform::Alert::ranAlerts().size(), 2u);
}

// Changes the manager's gestures from inside its first callback.
class SwitchingDelegate final : public GestureDelegate {
public:
    void gestureRecognized(GestureMatch::Packed match) override {
        heard.push_back(match);
        if (manager) manager->setGestures({Gesture::threeToOne});
    }
    void gestureEnded(GestureMatch::Packed match) override { heard.push_back(match); }

    Gestures* manager = nullptr;
    std::vector<GestureMatch::Packed> heard;
};

TEST_F(GesturesTest, ADelegateMayChangeTheGesturesFromInsideACallback) {
    SwitchingDelegate switching;
    Gestures manager({Gesture::threeSwipe, Gesture::fiveToOne}, {}, &switching);
    switching.manager = &manager;
    swipeLeft(3);
    ASSERT_EQ(switching.heard.size(), 1u);
    ASSERT_EQ(manager.processorPipeline().size(), 1u);
    EXPECT_EQ(manager.processorPipeline()[0]->recognizerType(), Recognizer::restToOne);
    swipeLeft(3);
    EXPECT_EQ(switching.heard.size(), 1u);
}

}  // namespace
}  // namespace zelvana::gestures::test
