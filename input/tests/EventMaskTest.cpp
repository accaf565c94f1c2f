#include "input/EventMonitor/EventMask.hpp"

#include <gtest/gtest.h>

namespace zelvana::input::eventmonitor {
namespace {

TEST(EventMaskTest, MembersAreTheBitsOfTheirEventTypesAndCombineByName) {
    EXPECT_EQ((EventMask::leftMouseDown | EventMask::leftMouseUp).rawValue(), 6u);
    EXPECT_EQ(EventMasks(EventMask::keyDown).rawValue(), 1u << 10);
    EXPECT_EQ(EventMasks(EventMask::gesture).rawValue(), 1u << 29);
    EXPECT_EQ(EventMasks(EventMask::pressure).rawValue(), std::uint64_t{1} << 34);

    EXPECT_EQ(kMouseClicks.rawValue(), 0b11110u | (3u << 25));
    EXPECT_EQ(kMouseDrags.rawValue(), (1u << 6) | (1u << 7) | (1u << 27));
    EXPECT_TRUE(kMouseButtons.contains(EventMask::otherMouseDragged));
    EXPECT_FALSE(kMouseButtons.intersects(EventMask::mouseMoved));
    EXPECT_EQ(kUserInput.without(kMouseButtons).rawValue(),
              (1u << 22) | (1u << 10) | (1u << 11) | (1u << 12));
    EXPECT_EQ(kUserInputAndMoves.without(kUserInput), EventMasks(EventMask::mouseMoved));
}

}  // namespace
}  // namespace zelvana::input::eventmonitor
