#include "gestures/RestToOneRecognizer.hpp"

#include <gtest/gtest.h>

#include "gestures/tests/GestureTestSupport.hpp"

namespace zelvana::gestures::test {
namespace {

class RestToOneRecognizerTest : public GestureTest {
protected:
    // Three fingers down at once, resting `restMs` later, two lifting
    // `liftMs` after that; the last one alone `oneMs` after the lift.
    void restToOne(double restMs, double liftMs, double oneMs) {
        touchDown(3);
        feed(recognizer);
        feed(recognizer, restMs);
        pad.lift(1);
        pad.lift(2);
        feed(recognizer, liftMs);
        feed(recognizer, oneMs);
    }

    RestToOneRecognizer recognizer{Gesture::threeToOne, &delegate};
};

TEST_F(RestToOneRecognizerTest, TheStartIsReportedOnceAndTheEndOnceWhenTheTouchesChange) {
    EXPECT_EQ(recognizer.recognizerType(), Recognizer::restToOne);
    EXPECT_EQ(recognizer.restToOneTouchCount(), 3);
    restToOne(250, 250, 400);  // lifting from 0.5 s to exactly 0.4 s later
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"threeToOne"});
    EXPECT_EQ(delegate.packed, std::vector<GestureMatch::Packed>{2 | 8 << 8});
    for (int step = 0; step < 5; ++step) {
        pad.moveAll(0.05, 0);
        feed(recognizer, 300);
    }
    EXPECT_EQ(delegate.heard.size(), 1u);
    pad.liftAll();
    feed(recognizer, 10);
    feed(recognizer, 10);
    EXPECT_EQ(delegate.heard, (std::vector<std::string>{"threeToOne", "end threeToOne"}));

    // Adding a finger ends it as well, once.
    restToOne(100, 100, 100);
    pad.touchDown(7, {0.8, 0.8});
    feed(recognizer, 10);
    feed(recognizer, 10);
    pad.liftAll();
    feed(recognizer, 10);
    EXPECT_EQ(delegate.heard, (std::vector<std::string>{"threeToOne", "end threeToOne",
                                                        "threeToOne", "end threeToOne"}));
    EXPECT_FALSE(recognizer.isTriggered());
}

TEST_F(RestToOneRecognizerTest, ReachingOneFingerMoreThanAFewTenthsAfterTheLiftResets) {
    restToOne(250, 250, 400.001);
    pad.moveAll(0.01, 0);
    feed(recognizer, 10);
    pad.liftAll();
    feed(recognizer, 10);
    EXPECT_TRUE(delegate.heard.empty());
}

TEST_F(RestToOneRecognizerTest, ARestSoonAfterMoreFingersDoesNotArm) {
    touchDown(4);
    feed(recognizer);
    pad.lift(4);  // four touches still in this frame
    feed(recognizer, 500);
    feed(recognizer, 300);  // resting 0.3 s after: ignored
    pad.lift(1);
    pad.lift(2);
    feed(recognizer, 50);
    feed(recognizer, 50);
    pad.liftAll();
    feed(recognizer, 10);
    EXPECT_TRUE(delegate.heard.empty());
}

TEST_F(RestToOneRecognizerTest, ARestExactlyAFewTenthsAfterMoreFingersArms) {
    touchDown(4);
    feed(recognizer);
    pad.lift(4);
    feed(recognizer, 500);
    feed(recognizer, 400);
    pad.lift(1);
    pad.lift(2);
    feed(recognizer, 50);
    feed(recognizer, 50);
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"threeToOne"});
}

TEST_F(RestToOneRecognizerTest, FingersSlidingMoreThan50PointsWhileLiftingCancel) {
    touchDown(3);
    feed(recognizer);
    feed(recognizer, 100);
    pad.lift(1);
    pad.move(3, {pad.position(3)->x, pad.position(3)->y + py(51)});
    feed(recognizer, 50);
    pad.lift(2);
    feed(recognizer, 50);
    feed(recognizer, 50);
    EXPECT_TRUE(delegate.heard.empty());
    pad.liftAll();
    feed(recognizer, 10);

    touchDown(3);
    feed(recognizer);
    feed(recognizer, 100);
    pad.lift(1);
    pad.move(3, {pad.position(3)->x + px(50), pad.position(3)->y - py(50)});
    feed(recognizer, 50);
    pad.lift(2);
    feed(recognizer, 50);
    feed(recognizer, 50);
    EXPECT_EQ(delegate.heard, std::vector<std::string>{"threeToOne"});
}

}  // namespace
}  // namespace zelvana::gestures::test
