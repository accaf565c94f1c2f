#include <gtest/gtest.h>

#include <initializer_list>
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
    EXPECT_EQ(text(us, 16, kOption), "\u00A5");  // ¥
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

// Keys pressed one after another, as a key's code and modifier state.
struct Press {
    std::uint16_t keyCode;
    std::uint32_t state = 0;
};

std::string typed(const KeyboardLayout& layout, std::initializer_list<Press> presses) {
    std::string text;
    std::uint32_t deadKeyState = 0;
    for (const auto& press : presses) {
        text +=
            layout.translate(press.keyCode, KeyAction::down, press.state, deadKeyState).characters;
    }
    return text;
}

TEST_F(KeyboardLayoutTest, TheUSLayoutsOptionDeadKeysComposeWithTheNextLetter) {
    constexpr std::uint16_t a = 0, e = 14, i = 34, u = 32, n = 45, x = 7, grave = 50, space = 49;
    const struct {
        std::initializer_list<Press> presses;
        const char* text;
    } rows[] = {
        {{{e, kOption}, {e}}, "\u00E9"},          // é
        {{{e, kOption}, {e, kShift}}, "\u00C9"},  // É
        {{{grave, kOption}, {a}}, "\u00E0"},      // à
        {{{i, kOption}, {i}}, "\u00EE"},          // î
        {{{u, kOption}, {u}}, "\u00FC"},          // ü
        {{{n, kOption}, {n}}, "\u00F1"},          // ñ
        {{{n, kOption}, {n, kShift}}, "\u00D1"},  // Ñ
        {{{i, kOption}, {space}}, "\u02C6"},      // the accent alone
        {{{u, kOption}, {x}}, "\u00A8x"},         // no such letter
        {{{e, kOption}, {e}, {e}}, "\u00E9e"},    // the state is used up
        {{{grave}, {a}}, "`a"},                   // no dead key without Option
        {{{a, kOption}}, "\u00E5"},               // å: Option's own character
    };
    for (const auto& [presses, text] : rows) {
        EXPECT_EQ(typed(KeyboardLayout::us(), presses), text) << text;
    }
    EXPECT_EQ(text(KeyboardLayout::us(), e, kOption), "\u00B4") << "shown: the accent";
    EXPECT_EQ(typed(KeyboardLayout::german(), {{e, kOption}, {e}}), "ee")
        << "the German layout's dead keys are its own";
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
