#include "gestures/Gesture.hpp"

#include <gtest/gtest.h>

#include "gestures/Cardinal.hpp"
#include "gestures/GestureMatch.hpp"

namespace zelvana::gestures {
namespace {

TEST(GestureKindsTest, RawValuesKindsAndFingerCounts) {
    EXPECT_FALSE(gestureFromRawValue(0));
    EXPECT_FALSE(gestureFromRawValue(9));
    EXPECT_EQ(gestureFromRawValue(1), Gesture::threeSwipe);
    EXPECT_EQ(gestureFromRawValue(8), Gesture::fiveToOneDir);
    EXPECT_EQ(recognizerKind(Gesture::fourSwipe), Recognizer::swipe);
    EXPECT_EQ(recognizerKind(Gesture::fiveToOne), Recognizer::restToOne);
    EXPECT_EQ(recognizerKind(Gesture::threeToOneDir), Recognizer::restToOneDir);
    EXPECT_EQ(fingerCount(Gesture::fourToOneDir), 4);
    EXPECT_EQ(fingerCount(Gesture::fiveToOne), 5);

    EXPECT_EQ(rawValue(Directional::u), 1);
    EXPECT_EQ(rawValue(Directional::dr), 8);
    EXPECT_FALSE(directionalFromRawValue(0));
    EXPECT_EQ(rawValue(Cardinal::r), 4);
    EXPECT_FALSE(cardinalFromRawValue(5));
}

TEST(GestureKindsTest, MatchesPackTheGesturePositionAndTheDirectionCode) {
    EXPECT_EQ((GestureMatch{Gesture::threeSwipe, Directional::l}.packed()), 0x200);
    EXPECT_EQ((GestureMatch{Gesture::fiveToOneDir, Directional::dr}.packed()), 0x707);
    EXPECT_EQ((GestureMatch{Gesture::fourToOne, std::nullopt}.packed()), 0x803);
    for (const Gesture gesture : kAllGestures) {
        for (const Directional direction : kAllDirectionals) {
            const GestureMatch match{gesture, direction};
            EXPECT_EQ(GestureMatch::unpacked(match.packed()), match);
        }
    }
    EXPECT_FALSE(GestureMatch::unpacked(0x008));
    EXPECT_FALSE(GestureMatch::unpacked(0x900));
    EXPECT_FALSE(GestureMatch::unpacked(-1));
}

}  // namespace
}  // namespace zelvana::gestures
