#include "settings/Default.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "settings/BoolDefault.hpp"
#include "settings/DateDefault.hpp"
#include "settings/IntDefault.hpp"
#include "settings/JSONDefault.hpp"
#include "settings/StringDefault.hpp"
#include "settings/tests/SettingsTestSupport.hpp"

namespace zelvana::settings::test {
namespace {

using platform::PropertyValue;

class DefaultTest : public SettingsTest {};

TEST_F(DefaultTest, OnlyObservedKeysPostOncePerEffectiveChange) {
    IntDefault width("gridWidth", 3);
    BoolDefault hidden("hideMenuBarIcon");
    PostRecorder widthPosts("gridWidth");
    PostRecorder hiddenPosts("hideMenuBarIcon");

    width.setValue(4);
    EXPECT_TRUE(widthPosts.updates.empty()) << "not observed yet";
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(4));

    std::vector<std::int64_t> seenByHandlers;
    const auto first = width.observe(
        [&](const platform::Notification&) { seenByHandlers.push_back(width.value()); });
    const auto second = width.observe(
        [&](const platform::Notification&) { seenByHandlers.push_back(width.value()); });
    width.setValue(5);
    ASSERT_EQ(widthPosts.updates.size(), 1u);
    EXPECT_EQ(widthPosts.updates[0], (DefaultUpdate{PropertyValue(5), PropertyValue(4)}));
    EXPECT_EQ(seenByHandlers, (std::vector<std::int64_t>{5, 5}))
        << "both handlers see the new value";

    // An equal value neither writes nor posts: a change behind its back stays.
    defaults().set("gridWidth", 9);
    width.setValue(5);
    EXPECT_EQ(widthPosts.updates.size(), 1u);
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(9));

    hidden.setValue(true);
    EXPECT_TRUE(hiddenPosts.updates.empty());
    EXPECT_TRUE(defaults().boolForKey("hideMenuBarIcon"));
    defaults().set("hideMenuBarIcon", false);
    hidden.setValue(true);
    EXPECT_FALSE(defaults().boolForKey("hideMenuBarIcon")) << "an equal boolean is not written";
}

TEST_F(DefaultTest, RemovalsPostAnEmptyValueAndCachesAreNotReRead) {
    StringDefault version("lastVersion");
    DateDefault stamp("lastCloudSync");
    PostRecorder posts("lastVersion");
    version.announceChanges();

    version.setValue("41");
    version.setValue(std::nullopt);
    ASSERT_EQ(posts.updates.size(), 2u);
    EXPECT_EQ(posts.updates[1], (DefaultUpdate{std::nullopt, PropertyValue("41")}));
    EXPECT_FALSE(defaults().object("lastVersion"));

    stamp.setValue(platform::Date{100});
    EXPECT_EQ(defaults().object("lastCloudSync"), PropertyValue(platform::Date{100}));
    stamp.setValue(std::nullopt);
    EXPECT_FALSE(defaults().object("lastCloudSync"));

    // Another process's write shows only at the next launch.
    defaults().set("lastVersion", "50");
    EXPECT_FALSE(version.value());
    EXPECT_EQ(StringDefault("lastVersion").value(), "50");
}

TEST_F(DefaultTest, AssignmentsFromOtherThreadsRunOnTheMainQueueInOrder) {
    IntDefault width("gridWidth", 3);
    JSONDefault<std::vector<int>> grid("grid");
    PostRecorder posts("gridWidth");
    std::thread::id postingThread;
    const auto observer = width.observe(
        [&](const platform::Notification&) { postingThread = std::this_thread::get_id(); });

    std::thread worker([&] {
        width.setValue(7);
        width.setValue(8);
        grid.setTypedValue(std::vector<int>{1, 2});
    });
    worker.join();
    EXPECT_EQ(width.value(), 3) << "the cache is written only on the main queue";
    EXPECT_FALSE(defaults().object("gridWidth"));
    EXPECT_FALSE(grid.typedValue());

    clock.runPending();
    EXPECT_EQ(width.value(), 8);
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(8));
    EXPECT_EQ(posts.updates.size(), 2u);
    EXPECT_EQ(postingThread, std::this_thread::get_id());
    EXPECT_EQ(grid.value(), "[1,2]");
    EXPECT_EQ(warnings().size(), 3u);

    // A setting gone before the main queue gets there drops its assignment.
    auto height = std::make_unique<IntDefault>("gridHeight", 3);
    std::thread([&] { height->setValue(6); }).join();
    height.reset();
    clock.runPending();
    EXPECT_FALSE(defaults().object("gridHeight"));
}

TEST_F(DefaultTest, GarbageReadsAsAbsentAndIsLogged) {
    defaults().set("gridWidth", "wide");
    defaults().set("hideMenuBarIcon", platform::Data{1});
    defaults().set("lastVersion", platform::PropertyArray{1});
    defaults().set("lastCloudSync", "yesterday");
    defaults().set("gesture", " 4 ");
    defaults().set("launchOnLogin", "YES");

    EXPECT_EQ(IntDefault("gridWidth", 3).value(), 3);
    EXPECT_FALSE(BoolDefault("hideMenuBarIcon").value());
    EXPECT_FALSE(StringDefault("lastVersion").value());
    EXPECT_FALSE(DateDefault("lastCloudSync").value());
    EXPECT_EQ(warnings().size(), 4u);

    // Numbers and booleans written as text are what the typed getters read.
    EXPECT_EQ(IntDefault("gesture", 0).value(), 4);
    EXPECT_TRUE(BoolDefault("launchOnLogin").value());
    EXPECT_EQ(warnings().size(), 4u);
}

}  // namespace
}  // namespace zelvana::settings::test
