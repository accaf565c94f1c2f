#include <gtest/gtest.h>

#include <algorithm>

#include "platform/input/SymbolicHotKeys.hpp"

namespace zelvana::platform {
namespace {

class SymbolicHotKeysTest : public ::testing::Test {
protected:
    void SetUp() override { keys.resetForTesting(); }
    void TearDown() override { keys.resetForTesting(); }
    SymbolicHotKeys& keys = SymbolicHotKeys::shared();
};

TEST_F(SymbolicHotKeysTest, TheCopyHandsOutEveryEntryOrFails) {
    keys.add(18, controlKey);
    PropertyArray entries = keys.entries();
    entries.emplace_back("not a dictionary");
    PropertyDictionary wrongTypes;
    wrongTypes.emplace(kHISymbolicHotKeyCode, "18");
    wrongTypes.emplace(kHISymbolicHotKeyEnabled, std::int64_t{1});
    entries.emplace_back(std::move(wrongTypes));
    keys.setEntries(entries);

    auto copy = copySymbolicHotKeys();
    EXPECT_EQ(copy.status, noErr);
    ASSERT_TRUE(copy.hotKeys);
    ASSERT_EQ(copy.hotKeys->size(), 3u);
    const PropertyValue& first = (*copy.hotKeys)[0];
    EXPECT_EQ(*first.find(kHISymbolicHotKeyCode)->integerValue(), 18);
    EXPECT_EQ(*first.find(kHISymbolicHotKeyModifiers)->integerValue(), 0x1000);
    EXPECT_TRUE(*first.find(kHISymbolicHotKeyEnabled)->boolValue());

    keys.setListMissing(true);
    copy = copySymbolicHotKeys();
    EXPECT_EQ(copy.status, noErr);
    EXPECT_FALSE(copy.hotKeys);
    keys.setReadFailure(paramErr);
    copy = copySymbolicHotKeys();
    EXPECT_EQ(copy.status, paramErr);
    EXPECT_FALSE(copy.hotKeys);
}

TEST_F(SymbolicHotKeysTest, OnlyWellFormedEnabledEntriesTakeTheirKey) {
    keys.add(18, controlKey);
    keys.add(19, controlKey, SymbolicHotKeys::State::disabled);
    PropertyDictionary textCode;
    textCode.emplace(kHISymbolicHotKeyCode, "20");
    textCode.emplace(kHISymbolicHotKeyModifiers, std::int64_t{controlKey});
    textCode.emplace(kHISymbolicHotKeyEnabled, true);
    PropertyArray entries = keys.entries();
    entries.emplace_back(std::move(textCode));
    entries.emplace_back(std::int64_t{5});
    keys.setEntries(entries);
    // A failing read does not stop the system from using its hot keys.
    keys.setReadFailure(paramErr);

    EXPECT_TRUE(keys.takes(18, controlKey));
    EXPECT_TRUE(keys.takes(18, controlKey | alphaLock));  // only the four shortcut bits count
    EXPECT_FALSE(keys.takes(18, controlKey | shiftKey));
    EXPECT_FALSE(keys.takes(18, 0));
    EXPECT_FALSE(keys.takes(19, controlKey));
    EXPECT_FALSE(keys.takes(20, controlKey));
}

TEST_F(SymbolicHotKeysTest, AShortcutTheApplicationCarriesOutIsListedButReachesIt) {
    constexpr std::uint32_t kGrave = 50;
    keys.add(kGrave, cmdKey, SymbolicHotKeys::State::enabled,
             SymbolicHotKeys::Handler::application);
    EXPECT_FALSE(keys.takes(kGrave, cmdKey));
    const auto copy = copySymbolicHotKeys();
    ASSERT_TRUE(copy.hotKeys && copy.hotKeys->size() == 1u);
    EXPECT_TRUE(*(*copy.hotKeys)[0].find(kHISymbolicHotKeyEnabled)->boolValue());
}

TEST_F(SymbolicHotKeysTest, AFreshSystemSearchesAndShowsMissionControlFromTheKeyboard) {
    keys.restoreFreshSystem();
    constexpr std::uint32_t kSpace = 49, kUp = 126, kDown = 125, kLeft = 123;
    EXPECT_TRUE(keys.takes(kSpace, cmdKey));
    EXPECT_TRUE(keys.takes(kSpace, cmdKey | optionKey));
    EXPECT_TRUE(keys.takes(kUp, controlKey));
    EXPECT_TRUE(keys.takes(kDown, controlKey));
    EXPECT_FALSE(keys.takes(kSpace, controlKey | optionKey));
    EXPECT_FALSE(keys.takes(kLeft, optionKey));
    // The focus moves to the menu bar and the next window in the application.
    constexpr std::uint32_t kF2 = 120, kGrave = 50;
    EXPECT_FALSE(keys.takes(kF2, controlKey));
    EXPECT_FALSE(keys.takes(kGrave, cmdKey));
    // Every entry is enabled, so the copy lists each one.
    const auto copy = copySymbolicHotKeys();
    std::vector<std::int64_t> codes;
    for (const auto& entry : *copy.hotKeys) {
        EXPECT_TRUE(*entry.find(kHISymbolicHotKeyEnabled)->boolValue());
        codes.push_back(*entry.find(kHISymbolicHotKeyCode)->integerValue());
    }
    EXPECT_NE(std::ranges::find(codes, kF2), codes.end());
    EXPECT_NE(std::ranges::find(codes, kGrave), codes.end());
}

}  // namespace
}  // namespace zelvana::platform
