#include "settings/Defaults.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "platform/foundation/UbiquitousKeyValueStore.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "settings/Config.hpp"
#include "settings/IntDefault.hpp"
#include "settings/StringDefault.hpp"
#include "settings/tests/SettingsTestSupport.hpp"

namespace zelvana::settings::test {
namespace {

using platform::PropertyValue;
using Store = platform::UbiquitousKeyValueStore;

// The synced settings of one simulated machine.
struct Machine {
    IntDefault width{"gridWidth", 3};
    StringDefault title{"title"};
};

class DefaultsTest : public SettingsTest {
protected:
    // Switches the process to `name`'s defaults and store, with sync on, as if
    // that machine had just launched.
    std::unique_ptr<Machine> launch(const std::string& name, Store& store) {
        platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana." + name);
        Defaults::resetForTesting();
        Defaults::setCloudStore(&store);
        Defaults::observeCloudStore();
        Defaults::setCloudSyncAvailable(true);
        Defaults::iCloudSync().setOptionalValue(true);
        auto machine = std::make_unique<Machine>();
        Defaults::addSyncedDefault(machine->width);
        Defaults::addSyncedDefault(machine->title);
        return machine;
    }

    std::optional<Config> snapshotIn(const Store& store) const {
        auto text = store.stringForKey(Defaults::configKey);
        return text ? Config::decode(*text) : std::nullopt;
    }

    platform::testing::ScopedMainBundle bundle{
        {{"CFBundleIdentifier", "com.quorrim.Zelvana"}, {"CFBundleVersion", "42"}}};
    const std::filesystem::path cloud = folders.path("cloud");
};

TEST_F(DefaultsTest, TheModuleOwnsThreeSharedSettings) {
    defaults().set("lastVersion", "41");
    defaults().set("iCloudSync", 2);
    EXPECT_EQ(&Defaults::lastVersion(), &Defaults::lastVersion());
    EXPECT_EQ(Defaults::lastVersion().value(), "41");
    EXPECT_EQ(Defaults::lastVersion().key(), "lastVersion");
    EXPECT_TRUE(Defaults::iCloudSync().isUserDisabled());
    EXPECT_FALSE(Defaults::lastCloudSync().value());
    Defaults::lastVersion().setValue("42");
    EXPECT_EQ(defaults().stringForKey("lastVersion"), "42");
}

TEST_F(DefaultsTest, UploadsNeedBothSwitchesAndComeOnceAfterTheLastChange) {
    Store store(cloud);
    IntDefault width("gridWidth", 3);
    Defaults::setCloudStore(&store);
    Defaults::addSyncedDefault(width);

    width.setValue(4);
    Defaults::setCloudSyncAvailable(true);
    width.setValue(5);
    Defaults::setCloudSyncAvailable(false);
    Defaults::iCloudSync().setOptionalValue(true);
    width.setValue(6);
    clock.advance(10000);
    EXPECT_FALSE(store.object(Defaults::configKey)) << "sync is off, or not available";

    Defaults::setCloudSyncAvailable(true);
    int exports = 0;
    const auto observer =
        Defaults::lastCloudSync().observe([&](const platform::Notification&) { ++exports; });
    width.setValue(7);
    clock.advance(2000);
    width.setValue(8);
    clock.advance(2000);
    width.setValue(9);
    clock.advance(4900);
    EXPECT_EQ(exports, 0);
    clock.advance(100);
    EXPECT_EQ(exports, 1);

    const auto snapshot = snapshotIn(Store(cloud));
    ASSERT_TRUE(snapshot) << "the export reaches the file";
    EXPECT_EQ(snapshot->bundleId, "com.quorrim.Zelvana");
    EXPECT_EQ(snapshot->version, "42");
    EXPECT_EQ(snapshot->defaults.at("gridWidth").intValue, 9);
    EXPECT_EQ(Defaults::lastCloudSync().value(), snapshot->timestamp);
    EXPECT_EQ(snapshot->timestamp.sinceReferenceDate,
              std::floor(snapshot->timestamp.sinceReferenceDate));
}

TEST_F(DefaultsTest, ASnapshotTravelsToAnotherMachineAndIsAppliedOnce) {
    Store first(cloud);
    Store second(cloud);
    auto machine = launch("first", first);
    machine->width.setValue(5);
    machine->title.setValue("Work");
    clock.advance(5000);
    const auto sent = snapshotIn(first);
    ASSERT_TRUE(sent);

    machine = launch("second", second);
    EXPECT_EQ(machine->width.value(), 3);
    ASSERT_TRUE(second.synchronize()) << "announces the new config";
    clock.advance(2000);
    EXPECT_EQ(machine->width.value(), 5);
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(5));
    EXPECT_EQ(machine->title.value(), "Work");
    EXPECT_EQ(Defaults::lastCloudSync().value(), sent->timestamp);
    clock.advance(10000);
    EXPECT_EQ(snapshotIn(second), sent) << "applying a snapshot does not upload it";

    // A snapshot no newer than the one applied is answered with this
    // machine's state, however often it is listed.
    machine->width.update([] {
        CodableDefault local;
        local.intValue = 6;
        return local;
    }());
    second.postExternalChange(Store::ChangeReason::serverChange, {"config", "config"});
    clock.advance(2000);
    EXPECT_EQ(machine->width.value(), 6);
    clock.advance(5000);
    const auto answer = snapshotIn(second);
    ASSERT_TRUE(answer);
    EXPECT_GT(answer->timestamp, sent->timestamp);
    EXPECT_EQ(answer->defaults.at("gridWidth").intValue, 6);
}

TEST_F(DefaultsTest, AnOlderSnapshotNeverOverwritesNewerLocalValues) {
    Store first(cloud);
    Store second(cloud);
    auto machine = launch("first", first);
    machine->width.setValue(5);
    clock.advance(5000);
    const auto older = first.stringForKey(Defaults::configKey);

    // The second machine changes its own value later and exports it.
    machine = launch("second", second);
    clock.advance(10000);
    machine->width.setValue(7);
    clock.advance(5000);

    // The first machine's older snapshot arrives afterwards.
    first.setString(Defaults::configKey, *older);
    ASSERT_TRUE(first.synchronize());
    ASSERT_TRUE(second.synchronize());
    clock.advance(2000);
    EXPECT_EQ(machine->width.value(), 7);
    clock.advance(5000);
    EXPECT_EQ(snapshotIn(second)->defaults.at("gridWidth").intValue, 7)
        << "the newer local state is pushed back";
}

TEST_F(DefaultsTest, SnapshotEntriesApplyByTypeAndBadSnapshotsAreIgnored) {
    Store store(cloud);
    auto machine = launch("only", store);
    machine->width.setValue(4);
    machine->title.setValue("Work");
    clock.advance(5000);
    const auto inject = [&](const std::string& text) {
        store.setString(Defaults::configKey, text);
        store.postExternalChange(Store::ChangeReason::serverChange, {"config"});
        clock.advance(2000);
    };

    inject(R"({"bundleId":"b","version":"1","timestamp":900000000,
               "defaults":{"gridWidth":{},"title":{},"other":{"int":1}}})");
    EXPECT_EQ(machine->width.value(), 4) << "an empty entry leaves a number";
    EXPECT_FALSE(machine->title.value()) << "and clears a text";
    EXPECT_FALSE(defaults().object("other"));

    inject(
        R"({"bundleId":"b","version":"1","timestamp":900000001,"defaults":{"gridWidth":{"int":"9"}}})");
    inject(R"({"bundleId":"b","timestamp":900000002,"defaults":{"gridWidth":{"int":9}}})");
    inject("{broken");
    EXPECT_EQ(machine->width.value(), 4);
    EXPECT_EQ(warnings().size(), 3u);

    // A notification without the changed keys, or without "config", does nothing.
    inject(
        R"({"bundleId":"b","version":"1","timestamp":900000003,"defaults":{"gridWidth":{"int":9}}})");
    EXPECT_EQ(machine->width.value(), 9);
    store.setString(
        Defaults::configKey,
        R"({"bundleId":"b","version":"1","timestamp":900000004,"defaults":{"gridWidth":{"int":2}}})");
    Defaults::changesDetected(
        platform::Notification{Store::didChangeExternallyNotification, {}, {}});
    store.postExternalChange(Store::ChangeReason::serverChange, {"other"});
    clock.advance(2000);
    EXPECT_EQ(machine->width.value(), 9);
}

}  // namespace
}  // namespace zelvana::settings::test
