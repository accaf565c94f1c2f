#include <gtest/gtest.h>

#include "platform/input/CarbonEvent.hpp"

namespace zelvana::platform {
namespace {

TEST(CarbonEventTest, ParametersAreReadByNameAndTypeWithTheSystemsStatuses) {
    EXPECT_EQ(kEventClassKeyboard, 0x6b657962u);
    EXPECT_EQ(fourCharCode("VQTB"), 0x56515442u);

    const EventHotKeyID id{fourCharCode("VQTB"), 7};
    const CarbonEvent pressed = CarbonEvent::hotKeyEvent(kEventHotKeyPressed, id);
    EXPECT_EQ(pressed.eventClass(), kEventClassKeyboard);
    EXPECT_EQ(pressed.kind(), kEventHotKeyPressed);
    EventHotKeyID read;
    EXPECT_EQ(pressed.getParameter(kEventParamDirectObject, typeEventHotKeyID, read), noErr);
    EXPECT_EQ(read, id);

    std::uint32_t number = 99;
    EXPECT_EQ(pressed.getParameter(kEventParamDirectObject, typeUInt32, number), errAECoercionFail);
    EXPECT_EQ(pressed.getParameter(kEventParamKeyCode, typeUInt32, number),
              eventParameterNotFoundErr);
    EXPECT_EQ(number, 99u);  // left alone on failure

    const CarbonEvent raw = CarbonEvent::rawKeyEvent(kEventRawKeyUp, 12, cmdKey | alphaLock);
    EXPECT_EQ(raw.getParameter(kEventParamKeyCode, typeUInt32, number), noErr);
    EXPECT_EQ(number, 12u);
    EXPECT_EQ(raw.getParameter(kEventParamKeyModifiers, typeUInt32, number), noErr);
    EXPECT_EQ(number, 0x500u);
    EXPECT_EQ(raw.getParameter(kEventParamDirectObject, typeEventHotKeyID, read),
              eventParameterNotFoundErr);
}

}  // namespace
}  // namespace zelvana::platform
