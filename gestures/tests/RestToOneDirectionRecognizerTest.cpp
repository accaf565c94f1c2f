#include "gestures/RestToOneDirectionRecognizer.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "gestures/tests/GestureTestSupport.hpp"

namespace zelvana::gestures::test {
namespace {

using platform::Mouse;
using platform::Point;

class RestToOneDirectionRecognizerTest : public GestureTest {
protected:
    // Rests three fingers and lifts two, leaving finger 3 to steer.
    void start() {
        touchDown(3);
        feed(recognizer);
        feed(recognizer, 100);
        pad.lift(1);
        pad.lift(2);
        feed(recognizer, 50);
        feed(recognizer, 50);
    }
    // Moves finger 3 by device points and sends the frame.
    void steer(double dx, double dy) {
        const Point at = *pad.position(3);
        pad.move(3, {at.x + px(dx), at.y + py(dy)});
        feed(recognizer, 10);
    }

    RestToOneDirectionRecognizer recognizer{Gesture::threeToOneDir, &delegate};
};

TEST_F(RestToOneDirectionRecognizerTest, EachStepNeedsMoreThan35PointsFromWhereTheLastFired) {
    EXPECT_EQ(recognizer.recognizerType(), Recognizer::restToOneDir);
    start();
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"threeToOneDir"});
    EXPECT_EQ(delegate.packed, std::vector<GestureMatch::Packed>{5 | 8 << 8});
    steer(35, 0);
    EXPECT_EQ(delegate.heard.size(), 1u) << "exactly 35 points is not enough";
    steer(1, 0);
    steer(34, 0);   // 34 from where the step fired
    steer(20, 20);  // (54, 20) from there: still right
    steer(0, 40);   // (0, 40) from there
    steer(-30, -30);
    EXPECT_EQ(delegate.heard,
              (std::vector<std::string>{"threeToOneDir", "threeToOneDir r", "threeToOneDir r",
                                        "threeToOneDir u", "threeToOneDir dl"}));
    pad.liftAll();
    feed(recognizer, 10);
    EXPECT_EQ(delegate.heard.back(), "end threeToOneDir");
    EXPECT_EQ(delegate.heard.size(), 6u);
}

TEST_F(RestToOneDirectionRecognizerTest, OneFingerMustRemainWithinFourTenthsOfTheLift) {
    // Resting at 250 ms, the lift beginning at 500 ms, one finger left `oneMs` after that.
    for (const double oneMs : {400.0, 400.001}) {
        touchDown(3);
        feed(recognizer);
        feed(recognizer, 250);
        pad.lift(1);
        feed(recognizer, 250);
        pad.lift(2);
        feed(recognizer, oneMs);
        feed(recognizer);
        pad.liftAll();
        feed(recognizer, 10);
    }
    EXPECT_EQ(delegate.heard, (std::vector<std::string>{"threeToOneDir", "end threeToOneDir"}));
}

TEST_F(RestToOneDirectionRecognizerTest, OnlyTheConfiguredNumberOfFingersArms) {
    touchDown(2);
    feed(recognizer);
    feed(recognizer, 100);  // two resting fingers
    pad.lift(1);
    feed(recognizer, 50);
    feed(recognizer, 50);
    EXPECT_TRUE(delegate.heard.empty());
}

TEST_F(RestToOneDirectionRecognizerTest, FingersSlidingMoreThan50PointsWhileLiftingCancel) {
    for (const double slide : {51.0, 50.0}) {
        touchDown(3);
        feed(recognizer);
        feed(recognizer, 100);
        pad.lift(1);
        pad.move(3, {pad.position(3)->x - px(slide), pad.position(3)->y});
        feed(recognizer, 50);
        pad.lift(2);
        feed(recognizer, 50);
        feed(recognizer, 50);
        pad.liftAll();
        feed(recognizer, 10);
    }
    EXPECT_EQ(delegate.heard, (std::vector<std::string>{"threeToOneDir", "end threeToOneDir"}));
}

TEST_F(RestToOneDirectionRecognizerTest, TheAngleBoundsBelongToTheFlatterDirection) {
    using Dir = RestToOneDirectionRecognizer;
    const double low = std::tan(std::numbers::pi / 6);
    const double high = std::tan(2 * std::numbers::pi / 5);
    EXPECT_EQ(Dir::direction(1, low), Directional::r);
    EXPECT_EQ(Dir::direction(1, -low), Directional::r);
    EXPECT_EQ(Dir::direction(-1, low), Directional::l);
    EXPECT_EQ(Dir::direction(1, low * 1.001), Directional::ur);
    EXPECT_EQ(Dir::direction(1, high), Directional::ur);
    EXPECT_EQ(Dir::direction(-1, -high), Directional::dl);
    EXPECT_EQ(Dir::direction(1, high * 1.001), Directional::u);
    EXPECT_EQ(Dir::direction(1, -low * 1.001), Directional::dr);
    EXPECT_EQ(Dir::direction(1, -high), Directional::dr);
    EXPECT_EQ(Dir::direction(-1, high), Directional::ul);
    EXPECT_EQ(Dir::direction(1, -high * 1.001), Directional::d);
    EXPECT_EQ(Dir::direction(0, 40), Directional::u);
    EXPECT_EQ(Dir::direction(0, -40), Directional::d);
}

TEST_F(RestToOneDirectionRecognizerTest, ThePointerHoldsStillWhileTheFingerSteers) {
    Mouse& mouse = Mouse::shared();
    mouse.moveTo({300, 200});
    start();
    ASSERT_TRUE(recognizer.cursorFreeze().isFrozen());
    EXPECT_EQ(recognizer.cursorFreeze().stillPosition(), (Point{300, 200}));
    mouse.moveTo({320, 210});
    mouse.press(platform::EventType::leftMouseDown);
    EXPECT_EQ(mouse.location(), (Point{300, 200}));
    EXPECT_EQ(mouse.warps().size(), 2u);

    // Another finger drops the steering and frees the pointer, no end yet.
    pad.touchDown(8, {0.8, 0.8});
    feed(recognizer, 10);
    EXPECT_FALSE(recognizer.cursorFreeze().isFrozen());
    EXPECT_FALSE(recognizer.isSteering());
    mouse.moveTo({330, 220});
    EXPECT_EQ(mouse.location(), (Point{330, 220}));
    steer(100, 0);
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"threeToOneDir"});
    pad.liftAll();
    feed(recognizer, 10);
    EXPECT_EQ(delegate.heard, (std::vector<std::string>{"threeToOneDir", "end threeToOneDir"}));
}

TEST_F(RestToOneDirectionRecognizerTest, CursorFreezeWarpsBackInEitherApplicationUntilReleased) {
    Mouse& mouse = Mouse::shared();
    CursorFreeze freeze;
    freeze.freeze(Point{50, 60});
    freeze.freeze(Point{70, 80});  // no second pair of monitors
    EXPECT_EQ(platform::EventMonitors::installedCount(), 2u);
    mouse.moveTo({1, 1});
    EXPECT_EQ(mouse.location(), (Point{70, 80}));
    platform::Application::shared().activate(true);
    mouse.moveTo({2, 2});
    clock.runPending();
    EXPECT_EQ(mouse.location(), (Point{70, 80}));
    freeze.unfreeze();
    EXPECT_EQ(platform::EventMonitors::installedCount(), 0u);
    EXPECT_FALSE(freeze.stillPosition());
    mouse.moveTo({3, 3});
    clock.runPending();
    EXPECT_EQ(mouse.location(), (Point{3, 3}));
    EXPECT_EQ(mouse.warps(), (std::vector<Point>{{70, 80}, {70, 80}}));
}

}  // namespace
}  // namespace zelvana::gestures::test
