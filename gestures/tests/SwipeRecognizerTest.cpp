#include "gestures/SwipeRecognizer.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gestures/tests/GestureTestSupport.hpp"

namespace zelvana::gestures::test {
namespace {

class SwipeRecognizerTest : public GestureTest {
protected:
    // Three fingers come down, move by their own offsets over `ms`, and all
    // lift together.
    void swipe(std::vector<platform::Point> offsets, double ms) {
        touchDown(static_cast<int>(offsets.size()));
        feed(recognizer);
        for (std::size_t i = 0; i < offsets.size(); ++i) {
            const auto at = *pad.position(i + 1);
            pad.move(i + 1, {at.x + offsets[i].x, at.y + offsets[i].y});
        }
        feed(recognizer, ms);
        pad.liftAll();
        feed(recognizer);
    }
    void swipe(double dx, double dy, double ms) { swipe({{dx, dy}, {dx, dy}, {dx, dy}}, ms); }

    SwipeRecognizer recognizer{Gesture::threeSwipe, &delegate};
};

TEST_F(SwipeRecognizerTest, AFastUniformSwipeIsReportedWithItsDirectionWhenTheFingersLift) {
    EXPECT_EQ(recognizer.recognizerType(), Recognizer::swipe);
    swipe(-0.3, 0.05, 100);
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"threeSwipe l"});
    EXPECT_EQ(delegate.packed, std::vector<GestureMatch::Packed>{0 | 2 << 8});
    EXPECT_FALSE(recognizer.initialTouchEvent());
    EXPECT_FALSE(recognizer.lastTouchEvent());

    swipe(0.3, 0, 100);
    swipe(0, 0.3, 100);
    swipe(0.02, -0.3, 100);
    EXPECT_EQ(delegate.heard, (std::vector<std::string>{"threeSwipe l", "threeSwipe r",
                                                        "threeSwipe u", "threeSwipe d"}));
}

TEST_F(SwipeRecognizerTest, TheFastestFingerMustBeatOneUnitPerSecondAndTheSlowestKeepUp) {
    swipe(-0.25, 0, 250);  // exactly 1.0 per second
    EXPECT_TRUE(delegate.heard.empty());
    swipe(-0.2501, 0, 250);
    EXPECT_EQ(delegate.heard.size(), 1u);

    // 2 units per second against 0.64 (ratio 0.32), then against 0.68 (0.34).
    swipe({{-0.5, 0}, {-0.5, 0}, {-0.16, 0}}, 250);
    EXPECT_EQ(delegate.heard.size(), 1u);
    swipe({{-0.5, 0}, {-0.5, 0}, {-0.17, 0}}, 250);
    EXPECT_EQ(delegate.heard.size(), 2u);
}

TEST_F(SwipeRecognizerTest, OneRadianFromTheHorizontalCountsAsVertical) {
    const double atOneRadian = std::tan(1.0);
    EXPECT_EQ(SwipeRecognizer::direction({1, atOneRadian}), Directional::u);
    EXPECT_EQ(SwipeRecognizer::direction({-1, -atOneRadian}), Directional::d);
    EXPECT_EQ(SwipeRecognizer::direction({1, std::tan(0.999)}), Directional::r);
    EXPECT_EQ(SwipeRecognizer::direction({-1, std::tan(0.999)}), Directional::l);
    EXPECT_EQ(SwipeRecognizer::direction({0, -2}), Directional::d);

    swipe(-0.2, 0.2 * std::tan(0.99), 100);
    swipe(-0.2, 0.2 * std::tan(1.01), 100);
    EXPECT_EQ(delegate.heard, (std::vector<std::string>{"threeSwipe l", "threeSwipe u"}));
}

TEST_F(SwipeRecognizerTest, FingersAlreadyRestingOrAFourthFingerKeepASwipeFromStarting) {
    // Down before the recognizer looked: the slide starts from 0x30.
    touchDown(3);
    frame();
    feed(recognizer);
    pad.moveAll(-0.3, 0);
    feed(recognizer, 100);
    pad.liftAll();
    feed(recognizer);
    EXPECT_FALSE(recognizer.initialTouchEvent());

    // A fourth finger joining mid-swipe clears what was seen.
    touchDown(3);
    feed(recognizer);
    pad.touchDown(4, {0.8, 0.5});
    pad.moveAll(-0.1, 0);
    feed(recognizer, 50);
    pad.lift(4);
    pad.moveAll(-0.2, 0);
    feed(recognizer, 50);
    pad.liftAll();
    feed(recognizer);
    EXPECT_TRUE(delegate.heard.empty());

    SwipeRecognizer four(Gesture::fourSwipe, &delegate);
    touchDown(4);
    feed(four);
    pad.moveAll(0, 0.3);
    feed(four, 100);
    pad.liftAll();
    feed(four);
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"fourSwipe u"});
}

TEST_F(SwipeRecognizerTest, FingersLiftingOneAtATimeGiveExactlyOneReport) {
    touchDown(3);
    feed(recognizer);
    pad.moveAll(0.3, 0);
    feed(recognizer, 100);
    pad.lift(1);  // the last event with three touches
    feed(recognizer, 20);
    pad.moveAll(-0.5, 0);  // two fingers: not looked at
    feed(recognizer, 20);
    pad.lift(2);
    feed(recognizer, 20);
    EXPECT_TRUE(delegate.heard.empty());
    pad.lift(3);
    feed(recognizer, 20);
    pad.touchDown(1, {0.5, 0.5});
    pad.lift(1);
    feed(recognizer, 20);
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"threeSwipe r"});
}

TEST_F(SwipeRecognizerTest, NoTimeBetweenTheEventsOrSpeedsThatAreNotFiniteGiveNoSwipe) {
    swipe(-0.3, 0, 0);
    EXPECT_TRUE(delegate.heard.empty());

    TouchEvent earlier;
    earlier.timestamp = 2.0;
    earlier.touches = {Touch{1, {0.5, 0.5}, {512, 320}, kPhaseMoved}};
    TouchEvent later = earlier;
    later.timestamp = 1.5;
    later.touches[0].pos = {0.1, 0.5};
    EXPECT_TRUE(SwipeRecognizer::velocities(earlier, later).empty()) << "backwards in time";
    later.timestamp = 2.5;
    EXPECT_EQ(SwipeRecognizer::velocities(earlier, later).size(), 1u);
    later.touches[0].pos.x = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(SwipeRecognizer::velocities(earlier, later).empty());
    later.touches[0].pos.x = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(SwipeRecognizer::velocities(earlier, later).empty());
}

}  // namespace
}  // namespace zelvana::gestures::test
