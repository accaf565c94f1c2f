#include "gestures/TouchPreprocessor.hpp"

#include <gtest/gtest.h>

#include "gestures/TouchUtil.hpp"
#include "gestures/tests/GestureTestSupport.hpp"

namespace zelvana::gestures::test {
namespace {

using TouchPreprocessorTest = GestureTest;

std::vector<TouchPhaseBits> phases(const TouchEvent& event) {
    std::vector<TouchPhaseBits> result;
    for (const auto& touch : event.touches) result.push_back(touch.phase);
    return result;
}

TEST_F(TouchPreprocessorTest, CountsPhasesInHexDigitsAndTracksBeginTimes) {
    const TouchEvent empty = frame();
    EXPECT_EQ(empty.touchCount, 0);
    EXPECT_EQ(empty.phaseHex, 0);
    EXPECT_FALSE(empty.gestureEnded);
    EXPECT_TRUE(empty.gestureMoved);

    touchDown(2);
    clock.advance(500);
    const TouchEvent down = frame();
    EXPECT_EQ(down.phaseHex, 0x02);
    EXPECT_EQ(down.timestamp, 0.5);
    EXPECT_EQ(down.touchBeginTimestamps, (std::map<std::int64_t, double>{{1, 0.5}, {2, 0.5}}));

    pad.touchDown(3, {0.8, 0.5});
    const TouchEvent third = frame();
    EXPECT_EQ(third.phaseHex, 0x21);
    EXPECT_FALSE(third.gestureMoved);

    pad.moveAll(0.01, 0);
    EXPECT_TRUE(frame().gestureMoved);
    pad.move(1, {0.3, 0.5});
    const TouchEvent mixed = frame();
    EXPECT_EQ(mixed.phaseHex, 0x30);
    EXPECT_FALSE(mixed.gestureMoved);

    pad.lift(1);
    pad.cancel(2);
    const TouchEvent lifting = frame();
    EXPECT_EQ(lifting.touchCount, 3);  // the cancelled touch counts, but has no digit
    EXPECT_EQ(lifting.phaseHex, 0x110);
    EXPECT_FALSE(lifting.gestureEnded);
    EXPECT_EQ(lifting.touchBeginTimestamps.count(1), 0u);

    pad.lift(3);
    const TouchEvent last = frame();
    EXPECT_EQ(last.phaseHex, 0x100);
    EXPECT_TRUE(last.gestureEnded);
    EXPECT_TRUE(last.touchBeginTimestamps.empty());
    EXPECT_TRUE(preprocessor.touchBeginTimestamps().empty());
}

TEST_F(TouchPreprocessorTest, PassesEveryTouchOfATallEnoughDeviceWithItsOwnPhase) {
    pad.setDeviceSize({100, 40});
    touchDown(2);
    EXPECT_EQ(frame().touchCount, 0);
    pad.setDeviceSize({100, 40.5});
    pad.touchDown(3, {0.02, 0.01});  // where every filter would hide it
    const TouchEvent event = frame();
    EXPECT_EQ(event.touchCount, 3);
    EXPECT_EQ(phases(event),
              (std::vector<TouchPhaseBits>{kPhaseStationary, kPhaseStationary, kPhaseBegan}));
    EXPECT_EQ(event.touches[2].deviceSize, (platform::Size{100, 40.5}));
    EXPECT_EQ(event.touches[2].pos, (platform::Point{0.02, 0.01}));
}

TEST_F(TouchPreprocessorTest, TheBottomThumbFilterHidesAThumbThatRestsLowOnlyOnceItsAgeIsKnown) {
    preprocessor.filterBottomThumb = true;
    pad.touchDown(1, {0.5, 0.5});
    pad.touchDown(9, {0.5, 0.02});
    frame();
    pad.move(9, {0.5, 0.025});
    EXPECT_EQ(frame().touchCount, 2) << "just began";
    clock.advance(100);
    pad.move(9, {0.5, 0.02});
    EXPECT_EQ(frame().touchCount, 2) << "began exactly 0.1 s ago is not more";
    clock.advance(1);
    pad.move(9, {0.5, 0.021});
    EXPECT_EQ(phases(frame()), (std::vector<TouchPhaseBits>{kPhaseStationary, kPhaseEnded}));
    pad.move(9, {0.5, 0.07});
    EXPECT_EQ(frame().touchCount, 1) << "hidden while it stays low";
    pad.move(9, {0.5, 0.09});
    EXPECT_EQ(phases(frame()), (std::vector<TouchPhaseBits>{kPhaseStationary, kPhaseBegan}));

    // A preprocessor that never saw the thumb come down cannot know its age.
    TouchPreprocessor late;
    late.filterBottomThumb = true;
    clock.advance(5000);
    pad.move(9, {0.5, 0.01});
    EXPECT_EQ(phases(late.touchEvent(pad.nextFrame())),
              (std::vector<TouchPhaseBits>{kPhaseStationary, kPhaseMoved}));
}

TEST_F(TouchPreprocessorTest, TopThumbAndPalmFiltersHideLoneTouchesAtTheEdgesUntilTheyComeBack) {
    preprocessor.filterTopThumb = true;
    preprocessor.filterPalm = true;
    pad.touchDown(1, {0.5, 0.5});
    frame();
    pad.touchDown(2, {0.5, 0.95});  // 144 points above: far enough for a thumb
    EXPECT_EQ(frame().touchCount, 1) << "hidden from its first frame";
    pad.move(2, {0.5, 0.85});
    EXPECT_EQ(frame().touchCount, 1);
    pad.move(2, {0.5, 0.7});
    EXPECT_EQ(phases(frame()), (std::vector<TouchPhaseBits>{kPhaseStationary, kPhaseBegan}));

    pad.touchDown(3, {0.95, 0.1});  // a palm at the right edge, far from both
    frame();
    pad.move(3, {0.9, 0.1});
    EXPECT_EQ(frame().touchCount, 2);
    pad.move(3, {0.65, 0.1});
    const TouchEvent back = frame();
    EXPECT_EQ(back.touchCount, 3);
    EXPECT_EQ(back.touches[2].phase, kPhaseBegan);

    pad.move(1, {0.92, 0.45});  // already down when it reached the edge: ended once
    pad.move(2, {0.3, 0.75});
    pad.move(3, {0.3, 0.1});
    EXPECT_EQ(phases(frame()),
              (std::vector<TouchPhaseBits>{kPhaseEnded, kPhaseMoved, kPhaseMoved}));
}

TEST_F(TouchPreprocessorTest, APalmRestsOnlyAtLeast140PointsFromEveryOtherTouch) {
    struct Case {
        double distance;
        int touchCount;
    };
    for (const auto [distance, touchCount] : {Case{140, 1}, Case{139, 2}}) {
        TouchPreprocessor filtering;
        filtering.filterPalm = true;
        pad.resetForTesting();
        pad.setDeviceSize({512, 320});
        pad.touchDown(1, {px(300), 0.5});
        filtering.touchEvent(pad.nextFrame());
        pad.touchDown(2, {px(300 + distance), 0.5});  // beyond x 0.85
        EXPECT_EQ(filtering.touchEvent(pad.nextFrame()).touchCount, touchCount) << distance;
    }
}

TEST_F(TouchPreprocessorTest, StillnessComparesEachAxisInDevicePointsOfPartneredTouches) {
    const Touch a{1, {0.5, 0.5}, {512, 320}, kPhaseStationary};
    const Touch slid{1, {0.5 + px(50), 0.5 - py(50)}, {512, 320}, kPhaseMoved};
    const Touch farther{1, {0.5, 0.5 + py(51)}, {512, 320}, kPhaseMoved};
    const Touch stranger{2, {0.0, 0.0}, {512, 320}, kPhaseMoved};
    EXPECT_TRUE(TouchUtil::touchesStill({a}, {slid, stranger}, 50.0));
    EXPECT_FALSE(TouchUtil::touchesStill({a}, {farther}, 50.0));
    EXPECT_TRUE(TouchUtil::touchesStill({a}, {}, 50.0));
    // Each touch is measured on its own device.
    const Touch bigger{1, {0.5, 0.5}, {612, 320}, kPhaseMoved};
    EXPECT_FALSE(TouchUtil::touchesStill({a}, {bigger}, 49.0));
    EXPECT_TRUE(TouchUtil::touchesStill({a}, {bigger}, 50.0));
}

}  // namespace
}  // namespace zelvana::gestures::test
