#include "input/EventMonitor/EventMask.hpp"

#include <gtest/gtest.h>

#include "platform/appkit/Event.hpp"

namespace zelvana::input::eventmonitor {
namespace {

TEST(EventMaskTest, MembersAreTheBitsOfTheirEventTypes) {
    EXPECT_EQ((EventMask{EventMask::leftMouseDown, EventMask::leftMouseUp}.rawValue), 6);
    EXPECT_EQ(
        EventMask::keyDown.rawValue,
        static_cast<std::int64_t>(platform::eventMaskFor(platform::EventType::keyDown).rawValue()));
    EXPECT_EQ(EventMask::gesture.rawValue, std::int64_t{1} << 29);
    EXPECT_EQ(EventMask::pressure.rawValue, std::int64_t{1} << 34);

    EXPECT_TRUE(EventMask::mouseButtons.contains(EventMask::otherMouseDragged));
    EXPECT_FALSE(EventMask::mouseButtons.contains(EventMask::mouseMoved));
    EXPECT_EQ(EventMask::mouseClicks.rawValue, 0b11110 | (3 << 25));
    EXPECT_TRUE(EventMask::userInput.isSuperset(EventMask::mouseButtons));
    EXPECT_TRUE(EventMask::userInput.contains(
        {EventMask::scrollWheel, EventMask::flagsChanged, EventMask::keyDown, EventMask::keyUp}));
    EXPECT_FALSE(EventMask::userInput.contains(EventMask::mouseMoved));
    EXPECT_FALSE(EventMask::userInput.contains(EventMask::gesture));
    EXPECT_EQ(EventMask::userInputAndMoves - EventMask::userInput, EventMask::mouseMoved);
}

TEST(EventMaskTest, SetAlgebraWorksOnTheRawBits) {
    const EventMask keys{EventMask::keyDown, EventMask::keyUp};
    const EventMask downs{EventMask::keyDown, EventMask::leftMouseDown};
    EXPECT_EQ(keys | downs,
              (EventMask{EventMask::keyDown, EventMask::keyUp, EventMask::leftMouseDown}));
    EXPECT_EQ(keys & downs, EventMask::keyDown);
    EXPECT_EQ(keys ^ downs, (EventMask{EventMask::keyUp, EventMask::leftMouseDown}));
    EXPECT_EQ(keys - downs, EventMask::keyUp);
    EXPECT_TRUE(EventMask::keyUp.isSubset(keys));
    EXPECT_TRUE(keys.isDisjoint(EventMask::mouseButtons));
    EXPECT_FALSE(keys.isDisjoint(downs));
    EXPECT_TRUE(EventMask().isEmpty());

    EventMask mask;
    EXPECT_EQ(mask.insert(EventMask::keyDown), std::make_pair(true, EventMask::keyDown));
    EXPECT_EQ(mask.insert(EventMask::keyDown), std::make_pair(false, EventMask::keyDown));
    EXPECT_EQ(mask.update(keys), EventMask::keyDown);  // what was there before
    EXPECT_EQ(mask, keys);
    EXPECT_EQ(mask.remove(downs), EventMask::keyDown);
    EXPECT_EQ(mask.remove(downs), std::nullopt);
    EXPECT_EQ(mask.update(EventMask::flagsChanged), std::nullopt);
    EXPECT_EQ(mask, (EventMask{EventMask::keyUp, EventMask::flagsChanged}));
}

}  // namespace
}  // namespace zelvana::input::eventmonitor
