#include "GridPanel/KeySymbols.hpp"

#include <gtest/gtest.h>

#include "platform/input/KeyboardLayout.hpp"

namespace zelvana::gridpanel {
namespace {

class KeySymbolsTest : public ::testing::Test {
protected:
    void TearDown() override { platform::KeyboardLayout::resetForTesting(); }
};

TEST_F(KeySymbolsTest, SpecialKeysHaveTheirFixedTexts) {
    EXPECT_EQ(keyString(49), "Space");
    EXPECT_EQ(keyString(36), "\u21A9");
    EXPECT_EQ(keyString(114), "?\u20DD");
    EXPECT_EQ(keyString(126), "\u2191");
    EXPECT_EQ(keyString(122), "F1");
    EXPECT_EQ(keyString(111), "F12");
    EXPECT_EQ(keyString(105), "F13");
    EXPECT_EQ(keyString(90), "F20");
    EXPECT_EQ(keyString(82), "0") << "keypad digits are plain digits";
    EXPECT_EQ(keyString(92), "9");
    EXPECT_EQ(keyString(71), "\u2612\u20E3");
    EXPECT_EQ(keyString(69), "+\u20E3");
}

TEST_F(KeySymbolsTest, OtherKeysTakeTheLayoutsUnshiftedCharacter) {
    EXPECT_EQ(keyString(0), "a");
    platform::KeyboardLayout::setCurrent(&platform::KeyboardLayout::german());
    EXPECT_EQ(keyString(6), "y") << "the German layout swaps Y and Z";
    EXPECT_EQ(keyString(49), "Space");
}

TEST_F(KeySymbolsTest, NoTextWhenTheLayoutCannotTellOrTheCodeIsNoKey) {
    EXPECT_FALSE(keyString(-1));
    EXPECT_FALSE(keyString(65536));
    platform::KeyboardLayout::setTranslationFailure(-50);
    EXPECT_FALSE(keyString(0));
    platform::KeyboardLayout::setTranslationFailure(std::nullopt);
    platform::KeyboardLayout::setUnicodeKeyLayoutDataAvailable(false);
    EXPECT_FALSE(keyString(0));
    platform::KeyboardLayout::setUnicodeKeyLayoutDataAvailable(true);
    platform::KeyboardLayout::setCurrent(nullptr);
    EXPECT_FALSE(keyString(0));
    EXPECT_EQ(keyString(53), "\u238B") << "the fixed texts need no layout";
}

}  // namespace
}  // namespace zelvana::gridpanel
