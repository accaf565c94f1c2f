#include "Zelvana/GlobalDefaults.hpp"

#include <gtest/gtest.h>

#include <any>
#include <thread>

#include "KeyboardShortcuts/Name.hpp"
#include "Zelvana/tests/ZelvanaTestSupport.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "settings/testing/PostRecorder.hpp"

namespace zelvana::core::test {
namespace {

using platform::PropertyValue;
using settings::DefaultUpdate;
using settings::OptionalBool;
using switcher::SpaceAnchorVisibility;

using PostRecorder = settings::testing::PostRecorder;

class GlobalDefaultsTest : public SettingsFixture {};

TEST_F(GlobalDefaultsTest, AFreshInstallationReadsTheDefaults) {
    EXPECT_EQ(GlobalDefaults::gridWidth().value(), 3);
    EXPECT_DOUBLE_EQ(GlobalDefaults::spaceSizeFactor().value(), 0.13);
    EXPECT_EQ(GlobalDefaults::anchorCountCap().value(), 50);
    EXPECT_FLOAT_EQ(GlobalDefaults::restartOnWakeDelay().value(), 1.0F);
    EXPECT_EQ(GlobalDefaults::arrowFlags().value(), 0);
    EXPECT_EQ(GlobalDefaults::gesture().value(), 0);
    EXPECT_FALSE(GlobalDefaults::hideMenuBarIcon().value());
    EXPECT_FALSE(GlobalDefaults::launchOnLogin().value());
    EXPECT_FALSE(GlobalDefaults::relaunchOpensMenu().value());
    for (auto* setting : {&GlobalDefaults::repetitionMode(), &GlobalDefaults::menuBarSpaceNumber(),
                          &GlobalDefaults::autoRestartOnWake()}) {
        EXPECT_EQ(setting->value(), OptionalBool::undefined) << setting->key();
        EXPECT_FALSE(setting->isUserEnabled());
    }
    EXPECT_EQ(GlobalDefaults::anchorVisibility().value(), SpaceAnchorVisibility::hidden);
    EXPECT_FALSE(GlobalDefaults::grid().typedValue());
    EXPECT_FALSE(GlobalDefaults::screens().typedValue());

    EXPECT_EQ(GlobalDefaults::show().rawValue(), "show");
    EXPECT_EQ(GlobalDefaults::cycleReverse().rawValue(), "cycleReverse");
    EXPECT_FALSE(GlobalDefaults::show().defaultShortcut());
    EXPECT_FALSE(defaults().object("KeyboardShortcuts_show")) << "no default, nothing stored";
    EXPECT_FALSE(defaults().object("KeyboardShortcuts_cycleReverse"));
    EXPECT_FALSE(defaults().object("gridWidth")) << "reading writes nothing";
    EXPECT_TRUE(recorder->warnings().empty());
}

TEST_F(GlobalDefaultsTest, EachKeyHasOneSharedObject) {
    EXPECT_EQ(&GlobalDefaults::gridWidth(), &GlobalDefaults::gridWidth());
    EXPECT_EQ(&GlobalDefaults::show(), &GlobalDefaults::show());
    GlobalDefaults::gridWidth().setValue(5);
    EXPECT_EQ(GlobalDefaults::gridWidth().value(), 5);
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(5));

    // A value is fixed when the object is made: outside changes wait for a launch.
    defaults().set("gesture", 4);
    EXPECT_EQ(GlobalDefaults::gesture().value(), 4);
    defaults().set("gesture", 6);
    EXPECT_EQ(GlobalDefaults::gesture().value(), 4);
    relaunch();
    EXPECT_EQ(GlobalDefaults::gesture().value(), 6);
}

TEST_F(GlobalDefaultsTest, NumbersOutOfTheirRangeReadAsTheDefault) {
    defaults().set("gridWidth", 0);
    defaults().set("anchorCountCap", -7);
    defaults().set("spaceSizeFactor", 0.0);
    defaults().set("restartOnWakeDelay", 0.0);
    EXPECT_EQ(GlobalDefaults::gridWidth().value(), 3);
    EXPECT_EQ(GlobalDefaults::anchorCountCap().value(), 50);
    EXPECT_DOUBLE_EQ(GlobalDefaults::spaceSizeFactor().value(), 0.13);
    EXPECT_FLOAT_EQ(GlobalDefaults::restartOnWakeDelay().value(), 1.0F);
    EXPECT_TRUE(recorder->hasWarningContaining("'gridWidth'"));
    EXPECT_TRUE(recorder->hasWarningContaining("'anchorCountCap'"));
    EXPECT_TRUE(recorder->hasWarningContaining("'spaceSizeFactor'"));
    EXPECT_EQ(defaults().object("anchorCountCap"), PropertyValue(-7)) << "left as stored";

    for (double factor : {-0.5, 1.01, 40.0}) {
        defaults().set("spaceSizeFactor", factor);
        relaunch();
        EXPECT_DOUBLE_EQ(GlobalDefaults::spaceSizeFactor().value(), 0.13) << factor;
    }
    for (double factor : {1.0, 0.2, 1e-9}) {
        defaults().set("spaceSizeFactor", factor);
        relaunch();
        EXPECT_DOUBLE_EQ(GlobalDefaults::spaceSizeFactor().value(), factor);
    }
    defaults().set("gridWidth", 1);
    defaults().set("anchorCountCap", "12");
    relaunch();
    EXPECT_EQ(GlobalDefaults::gridWidth().value(), 1);
    EXPECT_EQ(GlobalDefaults::anchorCountCap().value(), 12) << "numeric text counts";
}

TEST_F(GlobalDefaultsTest, AZeroGridWidthIsStoredButTheNextLaunchReadsThree) {
    GlobalDefaults::gridWidth().setValue(0);
    EXPECT_EQ(GlobalDefaults::gridWidth().value(), 0);
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(0));
    relaunch();
    EXPECT_EQ(GlobalDefaults::gridWidth().value(), 3);
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(0));
}

TEST_F(GlobalDefaultsTest, ClearingGridOrScreensStoresTheEmptyText) {
    CodableSpace space;
    space.id = "A";
    space.coordinates = {{1, Coordinates{0, 0}}};
    GlobalDefaults::grid().setTypedValue(std::vector{space});
    GlobalDefaults::screens().setTypedValue(CodableScreenMap{{1, CodableScreen{}}});
    relaunch();
    ASSERT_TRUE(GlobalDefaults::grid().typedValue());
    EXPECT_EQ(*GlobalDefaults::grid().typedValue(), std::vector{space});
    ASSERT_TRUE(GlobalDefaults::screens().typedValue());
    EXPECT_EQ(GlobalDefaults::screens().typedValue()->size(), 1U);

    GlobalDefaults::grid().setValue("");
    GlobalDefaults::screens().setValue("");
    EXPECT_FALSE(GlobalDefaults::grid().typedValue());
    EXPECT_EQ(defaults().object("grid"), PropertyValue(""));
    EXPECT_EQ(defaults().object("screens"), PropertyValue(""));
    relaunch();
    EXPECT_FALSE(GlobalDefaults::grid().typedValue());
    EXPECT_FALSE(GlobalDefaults::screens().typedValue());
    EXPECT_TRUE(recorder->warnings().empty());
}

TEST_F(GlobalDefaultsTest, OnlyObservedSettingsAnnounceTheirChanges) {
    PostRecorder spaceNumber("menuBarSpaceNumber");
    PostRecorder width("gridWidth");
    PostRecorder gesture("gesture");
    GlobalDefaults::menuBarSpaceNumber().setOptionalValue(true);
    GlobalDefaults::gridWidth().setValue(4);
    GlobalDefaults::gesture().setValue(2);

    ASSERT_EQ(spaceNumber.updates.size(), 1U);
    EXPECT_EQ(spaceNumber.updates[0], (DefaultUpdate{PropertyValue(1), PropertyValue(0)}));
    EXPECT_TRUE(width.updates.empty());
    ASSERT_EQ(gesture.updates.size(), 1U);
    EXPECT_EQ(gesture.updates[0], (DefaultUpdate{PropertyValue(2), PropertyValue(0)}));
}

TEST_F(GlobalDefaultsTest, AnchorVisibilityKeepsOnlyItsThreeRawValues) {
    EXPECT_EQ(switcher::spaceAnchorVisibility(1), SpaceAnchorVisibility::hidden);
    EXPECT_EQ(switcher::spaceAnchorVisibility(2), SpaceAnchorVisibility::allVisible);
    EXPECT_EQ(switcher::spaceAnchorVisibility(3), SpaceAnchorVisibility::activeVisible);
    for (std::int64_t raw : {0, 4, -1}) EXPECT_FALSE(switcher::spaceAnchorVisibility(raw)) << raw;

    defaults().set("anchorVisibility", 3);
    EXPECT_EQ(GlobalDefaults::anchorVisibility().value(), SpaceAnchorVisibility::activeVisible);
    GlobalDefaults::anchorVisibility().setValue(SpaceAnchorVisibility::allVisible);
    EXPECT_EQ(defaults().object("anchorVisibility"), PropertyValue(2));

    for (std::int64_t raw : {0, 4, -1}) {
        defaults().set("anchorVisibility", raw);
        relaunch();
        EXPECT_EQ(GlobalDefaults::anchorVisibility().value(), SpaceAnchorVisibility::hidden) << raw;
    }
    EXPECT_EQ(recorder->warnings().size(), 2U) << "0 reads as unset, 4 and -1 are faults";
}

TEST_F(GlobalDefaultsTest, GarbageReadsAsDefaultOrAbsentAndIsLogged) {
    defaults().set("grid", "[{\"windowList\": [], \"coordinates\": [1]}]");
    defaults().set("screens", "not JSON at all");
    defaults().set("hideMenuBarIcon", platform::PropertyDictionary{{"on", true}});
    defaults().set("gridWidth", "wide");
    defaults().set("spaceSizeFactor", platform::PropertyArray{0.2});
    defaults().set("repetitionMode", 9);
    defaults().set("restartOnWakeDelay", "soon");
    EXPECT_FALSE(GlobalDefaults::grid().typedValue());
    EXPECT_FALSE(GlobalDefaults::screens().typedValue());
    EXPECT_FALSE(GlobalDefaults::hideMenuBarIcon().value());
    EXPECT_EQ(GlobalDefaults::gridWidth().value(), 3);
    EXPECT_DOUBLE_EQ(GlobalDefaults::spaceSizeFactor().value(), 0.13);
    EXPECT_EQ(GlobalDefaults::repetitionMode().value(), OptionalBool::undefined);
    EXPECT_FLOAT_EQ(GlobalDefaults::restartOnWakeDelay().value(), 1.0F);
    EXPECT_EQ(recorder->warnings().size(), 7U);
    EXPECT_EQ(defaults().object("screens"), PropertyValue("not JSON at all")) << "kept as stored";
}

TEST_F(GlobalDefaultsTest, AssignmentsOffTheMainQueueMoveThere) {
    auto& width = GlobalDefaults::gridWidth();
    auto& factor = GlobalDefaults::spaceSizeFactor();
    std::thread([&] {
        width.setValue(6);
        factor.setValue(0.5);
    }).join();
    EXPECT_EQ(width.value(), 3) << "not before the main queue runs";
    EXPECT_FALSE(defaults().object("gridWidth"));
    clock.runPending();
    EXPECT_EQ(width.value(), 6);
    EXPECT_DOUBLE_EQ(factor.value(), 0.5);
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(6));
    EXPECT_TRUE(recorder->hasWarningContaining("off the main queue"));
}

TEST_F(GlobalDefaultsTest, SnapshotValuesOutOfRangeAreRefused) {
    auto& cap = GlobalDefaults::anchorCountCap();
    settings::CodableDefault snapshot;
    snapshot.intValue = -3;
    cap.update(snapshot);
    EXPECT_EQ(cap.value(), 50);
    snapshot.intValue = 20;
    cap.update(snapshot);
    EXPECT_EQ(cap.value(), 20);
    EXPECT_EQ(defaults().object("anchorCountCap"), PropertyValue(20));
    EXPECT_EQ(cap.toCodable().intValue, 20);
    EXPECT_EQ(GlobalDefaults::spaceSizeFactor().toCodable().doubleValue, 0.13);
}

TEST_F(GlobalDefaultsTest, TheGlobalDomainValueIsReadAsStored) {
    auto global = platform::UserDefaults::globalDomain();
    global.set("NSQuitAlwaysKeepsWindows", "YES");
    EXPECT_EQ(GlobalDefaults::globalDomainValue("NSQuitAlwaysKeepsWindows"), PropertyValue("YES"))
        << "any type, unconverted";
    global.set("AppleLocale", platform::PropertyDictionary{{"region", "CH"}});
    EXPECT_EQ(GlobalDefaults::globalDomainValue("AppleLocale"),
              PropertyValue(platform::PropertyDictionary{{"region", "CH"}}));
    EXPECT_FALSE(GlobalDefaults::globalDomainValue("Missing"));

    defaults().set("OnlyOurs", true);
    EXPECT_FALSE(GlobalDefaults::globalDomainValue("OnlyOurs")) << "the application's own domain";
}

}  // namespace
}  // namespace zelvana::core::test
