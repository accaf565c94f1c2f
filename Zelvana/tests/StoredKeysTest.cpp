// The user-defaults keys and stored raw values, written from the settings
// table rather than taken from the code, so that a renamed key or a changed
// raw value fails here.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "KeyboardShortcuts/Shortcut.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/tests/ZelvanaTestSupport.hpp"

namespace zelvana::core::test {
namespace {

using platform::PropertyValue;
using settings::Defaults;
using G = GlobalDefaults;

struct StoredKey {
    const char* name;
    const char* key;
    std::function<void()> write;
    // None: any value, as long as it is stored under the key.
    std::optional<PropertyValue> stored;

    friend void PrintTo(const StoredKey& row, std::ostream* out) { *out << row.key; }
};

class StoredKeys : public SettingsFixture, public ::testing::WithParamInterface<StoredKey> {};

TEST_P(StoredKeys, WriteTheirValueUnderTheDocumentedKey) {
    const auto& row = GetParam();
    ASSERT_FALSE(defaults().object(row.key));
    row.write();
    const auto stored = defaults().object(row.key);
    ASSERT_TRUE(stored) << "nothing stored under \"" << row.key << "\"";
    if (row.stored) {
        EXPECT_EQ(*stored, *row.stored);
    }
}

const auto kAllVisible = switcher::SpaceAnchorVisibility::allVisible;
const auto kActiveVisible = switcher::SpaceAnchorVisibility::activeVisible;

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredKeys,
    ::testing::Values(
        StoredKey{"hideMenuBarIcon", "hideMenuBarIcon", [] { G::hideMenuBarIcon().setValue(true); },
                  PropertyValue(true)},
        StoredKey{"launchOnLogin", "launchOnLogin", [] { G::launchOnLogin().setValue(true); },
                  PropertyValue(true)},
        StoredKey{"relaunchOpensMenu", "relaunchOpensMenu",
                  [] { G::relaunchOpensMenu().setValue(true); }, PropertyValue(true)},
        StoredKey{"grid", "grid", [] { G::grid().setTypedValue(std::vector<CodableSpace>{}); },
                  PropertyValue("[]")},
        StoredKey{"screens", "screens", [] { G::screens().setTypedValue(CodableScreenMap{}); },
                  PropertyValue("[]")},
        StoredKey{"arrowFlags", "arrowFlags", [] { G::arrowFlags().setValue(1572864); },
                  PropertyValue(1572864)},
        StoredKey{"gesture", "gesture", [] { G::gesture().setValue(3); }, PropertyValue(3)},
        StoredKey{"gridWidth", "gridWidth", [] { G::gridWidth().setValue(5); }, PropertyValue(5)},
        StoredKey{"spaceSizeFactor", "spaceSizeFactor", [] { G::spaceSizeFactor().setValue(0.25); },
                  PropertyValue(0.25)},
        StoredKey{"repetitionModeOn", "repetitionMode",
                  [] { G::repetitionMode().setOptionalValue(true); }, PropertyValue(1)},
        StoredKey{"menuBarSpaceNumberOff", "menuBarSpaceNumber",
                  [] { G::menuBarSpaceNumber().setOptionalValue(false); }, PropertyValue(2)},
        StoredKey{"anchorCountCap", "anchorCountCap", [] { G::anchorCountCap().setValue(20); },
                  PropertyValue(20)},
        StoredKey{"anchorVisibilityAll", "anchorVisibility",
                  [] { G::anchorVisibility().setValue(kAllVisible); }, PropertyValue(2)},
        StoredKey{"anchorVisibilityActive", "anchorVisibility",
                  [] { G::anchorVisibility().setValue(kActiveVisible); }, PropertyValue(3)},
        StoredKey{"autoRestartOnWakeOn", "autoRestartOnWake",
                  [] { G::autoRestartOnWake().setOptionalValue(true); }, PropertyValue(1)},
        StoredKey{"restartOnWakeDelay", "restartOnWakeDelay",
                  [] { G::restartOnWakeDelay().setValue(2.5F); }, PropertyValue(2.5)},
        StoredKey{"lastVersion", "lastVersion",
                  [] { Defaults::lastVersion().setValue(std::string("12")); }, PropertyValue("12")},
        StoredKey{"iCloudSyncOff", "iCloudSync",
                  [] { Defaults::iCloudSync().setOptionalValue(false); }, PropertyValue(2)},
        StoredKey{"lastCloudSync", "lastCloudSync",
                  [] { Defaults::lastCloudSync().setValue(platform::Date{800000000}); },
                  PropertyValue(platform::Date{800000000})},
        StoredKey{
            "show", "KeyboardShortcuts_show",
            [] { G::show().setCurrentShortcut(keyboardshortcuts::Shortcut::fromCarbon(49, 256)); },
            std::nullopt},
        StoredKey{"cycleReverse", "KeyboardShortcuts_cycleReverse",
                  [] {
                      G::cycleReverse().setCurrentShortcut(
                          keyboardshortcuts::Shortcut::fromCarbon(49, 768));
                  },
                  std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelvana::core::test
