#include "KeyboardShortcuts/Shortcut.hpp"

#include <gtest/gtest.h>

#include <unordered_set>

#include "KeyboardShortcuts/KeyNames.hpp"
#include "KeyboardShortcuts/SpecialKey.hpp"
#include "KeyboardShortcuts/tests/ShortcutsTestSupport.hpp"
#include "platform/appkit/Menu.hpp"

namespace zelvana::keyboardshortcuts::test {
namespace {

using platform::PropertyArray;
using platform::PropertyDictionary;

TEST(Shortcut, ConstructionReducesModifiersButStoredValuesReadAsTheyAre) {
    EXPECT_EQ(Shortcut::fromCarbon(kSpace, 0x400 | 0x200).carbonModifiers(), 0x200);
    EXPECT_EQ(Shortcut::fromCarbon(kSpace, 0x0400'0000 | 0x100).carbonModifiers(), 0x100);
    EXPECT_EQ(Shortcut(Key::space, kCommand | kShift | kCapsLock).carbonModifiers(), 0x300);
    EXPECT_EQ(Shortcut(Key::a, kControl | kOption).carbonKeyCode(), 0);
    EXPECT_EQ(Shortcut::fromCarbon(0, 0x1100).modifiers(), kControl | kCommand);
    EXPECT_EQ(Shortcut::fromModifierFlags(kSpace, kCommand | kShift),
              Shortcut::fromCarbon(kSpace, 0x300));

    const Shortcut shortcut = Shortcut::fromCarbon(kSpace, 0x300);
    EXPECT_EQ(shortcut.toJSON(), R"({"carbonKeyCode":49,"carbonModifiers":768})");
    EXPECT_EQ(Shortcut::fromJSON(shortcut.toJSON()), shortcut);

    auto unreduced = Shortcut::fromJSON(R"({ "carbonModifiers": 1536, "carbonKeyCode": 5 })");
    ASSERT_TRUE(unreduced);
    EXPECT_EQ(unreduced->carbonKeyCode(), 5);
    EXPECT_EQ(unreduced->carbonModifiers(), 0x600);
    EXPECT_NE(*unreduced, Shortcut::fromCarbon(5, 0x600));

    EXPECT_EQ(Key(12345).rawValue, 12345);
    EXPECT_EQ(Key(-7).rawValue, -7);
    EXPECT_EQ(Key::f17.rawValue, 64);
    EXPECT_EQ(Key::keypad8.rawValue, 91);
    EXPECT_EQ(Key::returnKey.rawValue, 36);
}

TEST(Shortcut, CarbonBitsAreNeverReadAsPlatformFlags) {
    // 0x20000 is the Carbon function-key bit and also the platform Shift flag.
    const auto withFunction = Shortcut::fromCarbon(kSpace, 0x20000 | 0x100);
    EXPECT_EQ(withFunction.carbonModifiers(), 0x100);
    EXPECT_FALSE(withFunction.modifiers().contains(Modifier::shift));
    EXPECT_EQ(Shortcut::fromModifierFlags(kSpace, kShift).carbonModifiers(), 0x200);
}

TEST(Shortcut, UnreadableTextGivesNoShortcut) {
    for (const char* text :
         {"", "nonsense", "42", "false", "\"text\"", "[]", "{}", R"({"carbonKeyCode":1})",
          R"({"carbonModifiers":256})", R"({"carbonKeyCode":"1","carbonModifiers":0})",
          R"({"carbonKeyCode":1.5,"carbonModifiers":0})",
          R"({"carbonKeyCode":true,"carbonModifiers":0})",
          R"({"carbonKeyCode":1,"carbonModifiers":null})",
          R"({"carbonKeyCode":18446744073709551615,"carbonModifiers":0})",
          R"({"carbonKeyCode":1,"carbonModifiers":256)"}) {
        EXPECT_FALSE(Shortcut::fromJSON(text)) << text;
    }
    EXPECT_TRUE(Shortcut::fromJSON(R"({"carbonKeyCode":-3,"carbonModifiers":0,"extra":[]})"));
}

TEST(Shortcut, EqualValuesHashAlike) {
    std::unordered_set<Shortcut> set{Shortcut::fromCarbon(1, 0x100), Shortcut::fromCarbon(1, 0x500),
                                     Shortcut::fromCarbon(2, 0x100),
                                     Shortcut::fromCarbon(0x100, 1)};
    EXPECT_EQ(set.size(), 3u);
    EXPECT_EQ(std::hash<Shortcut>{}(Shortcut::fromCarbon(1, 0x100)),
              std::hash<Shortcut>{}(Shortcut::fromCarbon(1, 0x100)));
}

TEST(Shortcut, OnlyKeyEventsMakeShortcuts) {
    platform::Event event;
    event.keyCode = 12;
    event.modifierFlags = kCommand | kCapsLock | Modifier::numericPad;
    event.type = platform::EventType::keyUp;
    EXPECT_EQ(Shortcut::fromEvent(event), Shortcut::fromCarbon(12, 0x100));
    event.type = platform::EventType::keyDown;
    EXPECT_EQ(Shortcut::fromEvent(event), Shortcut::fromCarbon(12, 0x100));
    event.type = platform::EventType::flagsChanged;
    EXPECT_FALSE(Shortcut::fromEvent(event));
}

TEST(ModifierFlags, ConversionsKeepTheFourShortcutModifiers) {
    EXPECT_EQ(carbonValue(kControl | kShift), 0x1200);
    EXPECT_EQ(carbonValue(kCapsLock | Modifier::function | kOption), 0x800);
    EXPECT_EQ(modifierFlags(0x1100), kControl | kCommand);
    EXPECT_EQ(modifierFlags(0x400 | 0x2000 | 0x1), ModifierFlags());

    EXPECT_EQ(modifierDescription(kCommand | kShift | kControl), "\u2303\u21E7\u2318");
    EXPECT_EQ(modifierDescription(kCommand | kShift | kControl | Modifier::function),
              "\u2303\u21E7\u2318\U0001F310\uFE0E");
    EXPECT_EQ(modifierDescription(kCapsLock | Modifier::numericPad | Modifier::help), "");

    EXPECT_EQ(shortcutModifiers(kCapsLock | kCommand), kCommand);
    EXPECT_EQ(shortcutModifiers(kOption | Modifier::numericPad | Modifier::function |
                                ModifierFlags::fromRaw(0x8)),
              kOption);
}

class ShortcutTextTest : public ShortcutsTest {};

TEST_F(ShortcutTextTest, DescriptionsUseFixedNamesOrTheLayout) {
    EXPECT_EQ(Shortcut(Key::space, kControl | kOption).description(), "\u2303\u2325Space");
    EXPECT_EQ(Shortcut(Key::a, kCommand | kShift).description(), "\u21E7\u2318A");
    EXPECT_EQ(Shortcut(Key::f5, kCommand).description(), "\u2318F5");
    EXPECT_EQ(Shortcut(Key::f20, {}).description(), "F20");
    EXPECT_EQ(Shortcut(Key::keypad5, {}).description(), "5\u20E3");
    EXPECT_EQ(Shortcut(Key::keypadEnter, {}).description(), "\u21A9\u20E3");
    EXPECT_EQ(Shortcut(Key::keypadClear, {}).description(), "\u2612\u20E3");
    EXPECT_EQ(Shortcut(Key::help, {}).description(), "?\u20DD");
    EXPECT_EQ(Shortcut(Key::y, kOption).description(), "\u2325Y");

    platform::KeyboardLayout::setCurrent(&platform::KeyboardLayout::german());
    EXPECT_EQ(Shortcut(Key::y, kOption).description(), "\u2325Z");
    EXPECT_EQ(Shortcut(Key::semicolon, {}).description(), "\u00D6");
    EXPECT_EQ(Shortcut(Key::keypad5, {}).description(), "5\u20E3");
}

TEST_F(ShortcutTextTest, LayoutFailuresShowTheReplacementCharacter) {
    // A key without a character translates to nothing: the modifiers alone.
    EXPECT_EQ(Shortcut(Key::shift, kCommand).description(), "\u2318");

    platform::KeyboardLayout::setTranslationFailure(-50);
    EXPECT_EQ(Shortcut(Key::a, kCommand).description(), "\u2318\uFFFD");
    EXPECT_FALSE(keyToCharacter(Key::a.rawValue));
    EXPECT_EQ(Shortcut(Key::f1, kCommand).description(), "\u2318F1");
    platform::KeyboardLayout::setTranslationFailure(std::nullopt);

    platform::KeyboardLayout::setUnicodeKeyLayoutDataAvailable(false);
    EXPECT_EQ(Shortcut(Key::b, {}).description(), "\uFFFD");
    platform::KeyboardLayout::setUnicodeKeyLayoutDataAvailable(true);

    platform::KeyboardLayout::setCurrent(nullptr);
    EXPECT_EQ(Shortcut(Key::c, kControl).description(), "\u2303\uFFFD");
    EXPECT_EQ(Shortcut(Key::keypad5, {}).description(), "5\u20E3");
    platform::KeyboardLayout::setCurrent(&platform::KeyboardLayout::us());

    // Hand-edited stored codes that no translation can take.
    EXPECT_EQ(Shortcut::fromCarbon(70000, 0).description(), "\uFFFD");
    EXPECT_EQ(Shortcut::fromCarbon(-1, 0).description(), "\uFFFD");
}

TEST_F(ShortcutTextTest, KeyEquivalentsAreOneCharacter) {
    EXPECT_EQ(specialKeyNames().size(), 53u);
    EXPECT_EQ(functionKeyEquivalents().size(), 21u);
    EXPECT_EQ(keyEquivalentString(Key::space.rawValue), " ");
    EXPECT_EQ(keyEquivalentString(Key::f1.rawValue), "\uF704");
    EXPECT_EQ(keyEquivalentString(Key::f20.rawValue), "\uF717");
    EXPECT_EQ(keyEquivalentString(Key::upArrow.rawValue), "\u2191");
    EXPECT_EQ(keyEquivalentString(Key::a.rawValue), "a");
    EXPECT_EQ(keyEquivalentString(Key::keypad5.rawValue), "5\u20E3");
    EXPECT_EQ(keyEquivalentString(Key::help.rawValue), "?\u20DD");
    platform::KeyboardLayout::setCurrent(nullptr);
    EXPECT_EQ(keyEquivalentString(Key::a.rawValue), "");
}

TEST(SpecialKey, OnlyFunctionKeysAreAllowedAlone) {
    const auto& allowed = functionKeysAllowedAlone();
    EXPECT_EQ(allowed.size(), 35u);
    EXPECT_TRUE(allowed.contains(SpecialKey::f12));
    EXPECT_TRUE(allowed.contains(SpecialKey::f35));
    for (auto key : {SpecialKey::home, SpecialKey::pageUp, SpecialKey::upArrow,
                     SpecialKey::leftArrow, SpecialKey::help}) {
        EXPECT_FALSE(allowed.contains(key));
    }

    platform::Event event;
    event.keyCode = static_cast<std::uint16_t>(Key::f5.rawValue);
    EXPECT_EQ(specialKey(event), SpecialKey(0xF708));
    event.keyCode = static_cast<std::uint16_t>(Key::a.rawValue);
    event.charactersIgnoringModifiers = "\uF70F";
    EXPECT_EQ(specialKey(event), SpecialKey::f12);
    event.charactersIgnoringModifiers = "a";
    EXPECT_FALSE(specialKey(event));
}

class MenuMatchTest : public ShortcutsTest {
protected:
    std::shared_ptr<platform::MenuItem> add(platform::Menu& menu, const std::string& key,
                                            ModifierFlags mask) {
        auto item = menu.addItem(key, "act:", key);
        item->setKeyEquivalentModifierMask(mask);
        return item;
    }
    platform::Menu menu{"Main"};
};

TEST_F(MenuMatchTest, UpperCaseKeyEquivalentsMeanShift) {
    auto upper = add(menu, "Q", kCommand);
    EXPECT_EQ(Shortcut(Key::q, kCommand | kShift).menuItemWithMatchingShortcut(menu), upper);
    EXPECT_FALSE(Shortcut(Key::q, kCommand).menuItemWithMatchingShortcut(menu));

    platform::Menu lower("Lower");
    auto plain = add(lower, "q", kCommand);
    EXPECT_EQ(Shortcut(Key::q, kCommand).menuItemWithMatchingShortcut(lower), plain);
    EXPECT_FALSE(Shortcut(Key::q, kCommand | kShift).menuItemWithMatchingShortcut(lower));

    add(menu, "w", kCommand | Modifier::function);
    EXPECT_FALSE(Shortcut(Key::w, kCommand).menuItemWithMatchingShortcut(menu));
    add(menu, "", kCommand);
    EXPECT_FALSE(Shortcut(Key::shift, kCommand).menuItemWithMatchingShortcut(menu));
}

TEST_F(MenuMatchTest, SubmenusAreSearchedDepthFirst) {
    auto file = menu.addItem("File", "", "");
    file->setSubmenu(std::make_shared<platform::Menu>("File"));
    auto nested = add(*file->submenu(), "o", kCommand);
    auto later = add(menu, "o", kCommand);
    EXPECT_EQ(Shortcut(Key::o, kCommand).menuItemWithMatchingShortcut(menu), nested);
    EXPECT_NE(nested, later);
}

TEST_F(MenuMatchTest, SpecialKeysMatchTheirKeyEquivalentCharacters) {
    auto space = add(menu, " ", kCommand);
    auto up = add(menu, "\uF700", kOption);
    auto enter = add(menu, "\r", kCommand | kShift);
    auto f1 = add(menu, "\uF704", {});
    EXPECT_EQ(Shortcut(Key::space, kCommand).menuItemWithMatchingShortcut(menu), space);
    EXPECT_EQ(Shortcut(Key::upArrow, kOption).menuItemWithMatchingShortcut(menu), up);
    EXPECT_EQ(Shortcut(Key::returnKey, kCommand | kShift).menuItemWithMatchingShortcut(menu),
              enter);
    EXPECT_EQ(Shortcut(Key::f1, {}).menuItemWithMatchingShortcut(menu), f1);
    EXPECT_FALSE(Shortcut(Key::downArrow, kOption).menuItemWithMatchingShortcut(menu));
    EXPECT_FALSE(Shortcut(Key::space, kOption).menuItemWithMatchingShortcut(menu));
}

class SystemHotKeysTest : public ShortcutsTest {
protected:
    static platform::SymbolicHotKeys& symbolic() { return platform::SymbolicHotKeys::shared(); }
};

TEST_F(SystemHotKeysTest, OnlyEnabledWellFormedEntriesCount) {
    symbolic().add(49, 0x100);
    symbolic().add(123, 0x1000 | 0x400 | 0x20000);
    symbolic().add(124, 0x1000, platform::SymbolicHotKeys::State::disabled);
    EXPECT_EQ(Shortcut::systemHotKeyShortcuts(),
              (std::vector<Shortcut>{Shortcut::fromCarbon(49, 0x100),
                                     Shortcut::fromCarbon(123, 0x1000)}));

    PropertyDictionary stringCode{{platform::kHISymbolicHotKeyCode, "49"},
                                  {platform::kHISymbolicHotKeyModifiers, 0},
                                  {platform::kHISymbolicHotKeyEnabled, true}};
    PropertyDictionary numberEnabled{{platform::kHISymbolicHotKeyCode, 50},
                                     {platform::kHISymbolicHotKeyModifiers, 0},
                                     {platform::kHISymbolicHotKeyEnabled, 1}};
    PropertyDictionary good{{platform::kHISymbolicHotKeyCode, 51},
                            {platform::kHISymbolicHotKeyModifiers, 0x200},
                            {platform::kHISymbolicHotKeyEnabled, true}};
    symbolic().setEntries(PropertyArray{stringCode, numberEnabled, good});
    EXPECT_EQ(Shortcut::systemHotKeyShortcuts(),
              std::vector<Shortcut>{Shortcut::fromCarbon(51, 0x200)});

    symbolic().setEntries(PropertyArray{good, "not a dictionary"});
    EXPECT_TRUE(Shortcut::systemHotKeyShortcuts().empty());
    symbolic().setEntries(PropertyArray{good});
    symbolic().setReadFailure(-50);
    EXPECT_TRUE(Shortcut::systemHotKeyShortcuts().empty());
    symbolic().setReadFailure(std::nullopt);
    symbolic().setListMissing(true);
    EXPECT_TRUE(Shortcut::systemHotKeyShortcuts().empty());
}

}  // namespace
}  // namespace zelvana::keyboardshortcuts::test
