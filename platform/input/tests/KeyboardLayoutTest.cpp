#include <gtest/gtest.h>

#include <string>

#include "platform/input/KeyboardLayout.hpp"

namespace zelvana::platform {
namespace {

constexpr std::uint32_t kShift = 0x02;
constexpr std::uint32_t kCapsLock = 0x04;
constexpr std::uint32_t kOption = 0x08;

class KeyboardLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { KeyboardLayout::resetForTesting(); }
    void TearDown() override { KeyboardLayout::resetForTesting(); }

    static std::string text(const KeyboardLayout& layout, std::uint16_t keyCode,
                            std::uint32_t state = 0) {
        const auto translation = layout.translate(keyCode, KeyAction::display, state);
        return translation.status == noErr ? translation.characters : "<failed>";
    }
};

TEST_F(KeyboardLayoutTest, TheUSLayoutGivesItsCharactersWithShiftAndCapsLock) {
    const auto& us = KeyboardLayout::us();
    EXPECT_EQ(us.identifier(), "com.apple.keylayout.US");
    EXPECT_EQ(text(us, 0), "a");
    EXPECT_EQ(text(us, 6), "z");
    EXPECT_EQ(text(us, 16, kShift), "Y");
    EXPECT_EQ(text(us, 16, kCapsLock), "Y");
    EXPECT_EQ(text(us, 16, kOption), "y");
    EXPECT_EQ(text(us, 18), "1");
    EXPECT_EQ(text(us, 18, kShift), "!");
    EXPECT_EQ(text(us, 18, kCapsLock), "1");  // caps lock shifts letters only
    EXPECT_EQ(text(us, 29, kShift), ")");
    EXPECT_EQ(text(us, 41), ";");
    EXPECT_EQ(text(us, 50, kShift), "~");
    EXPECT_EQ(text(us, 49), " ");
    EXPECT_EQ(text(us, 87), "5");      // keypad
    EXPECT_EQ(text(us, 122), "\x10");  // F1
    EXPECT_EQ(text(us, 126), "\x1e");  // up arrow
    EXPECT_EQ(text(us, 56), "");       // a modifier key has no character
    EXPECT_EQ(text(us, 200), "");
}

TEST_F(KeyboardLayoutTest, TheGermanLayoutSwapsYAndZAndHasItsOwnPunctuation) {
    const auto& german = KeyboardLayout::german();
    EXPECT_EQ(text(german, 6), "y");
    EXPECT_EQ(text(german, 16), "z");
    EXPECT_EQ(text(german, 16, kShift), "Z");
    EXPECT_EQ(text(german, 41), "ö");
    EXPECT_EQ(text(german, 39, kCapsLock), "Ä");
    EXPECT_EQ(text(german, 27), "ß");
    EXPECT_EQ(text(german, 27, kShift), "?");
    EXPECT_EQ(text(german, 19, kShift), "\"");
    EXPECT_EQ(text(german, 44), "-");
    EXPECT_EQ(text(german, 0), "a");  // shared keys stay
}

TEST_F(KeyboardLayoutTest, TheCurrentLayoutItsDataAndTranslationCanBeChangedOrTakenAway) {
    EXPECT_EQ(KeyboardLayout::currentASCIICapable(), &KeyboardLayout::us());
    KeyboardLayout::setCurrent(&KeyboardLayout::german());
    EXPECT_EQ(KeyboardLayout::currentASCIICapable()->kind(), KeyboardLayout::Kind::german);
    KeyboardLayout::setCurrent(nullptr);
    EXPECT_EQ(KeyboardLayout::currentASCIICapable(), nullptr);

    EXPECT_TRUE(KeyboardLayout::hasUnicodeKeyLayoutData());
    KeyboardLayout::setUnicodeKeyLayoutDataAvailable(false);
    EXPECT_FALSE(KeyboardLayout::hasUnicodeKeyLayoutData());

    KeyboardLayout::setTranslationFailure(-50);
    const auto failed = KeyboardLayout::us().translate(0, KeyAction::display, 0);
    EXPECT_EQ(failed.status, -50);
    EXPECT_EQ(failed.characters, "");

    KeyboardLayout::resetForTesting();
    EXPECT_EQ(KeyboardLayout::currentASCIICapable(), &KeyboardLayout::us());
    EXPECT_TRUE(KeyboardLayout::hasUnicodeKeyLayoutData());
    EXPECT_EQ(text(KeyboardLayout::us(), 0), "a");
}

}  // namespace
}  // namespace zelvana::platform
