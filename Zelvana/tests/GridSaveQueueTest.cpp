#include "Zelvana/GridSaveQueue.hpp"

#include <gtest/gtest.h>

#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/tests/ZelvanaTestSupport.hpp"

namespace zelvana::core::test {
namespace {

class GridSaveQueueTest : public SettingsFixture {
protected:
    static StoredRecords spaces(std::initializer_list<const char*> ids) {
        StoredRecords list;
        for (const char* id : ids)
            list.push_back(std::make_shared<CodableSpace>(CodableSpace{.id = id}));
        return list;
    }
    // Lets the encoder finish and the main queue take its writes.
    void settle() {
        saver.drain();
        clock.runPending();
    }
    static std::optional<std::string> storedText(const char* key) {
        const auto value = defaults().object(key);
        if (!value || !value->stringValue()) return std::nullopt;
        return *value->stringValue();
    }

    GridSaveQueue saver;
};

TEST_F(GridSaveQueueTest, WritesTheRecordsOffTheMainQueueAndTheSettingTakesThemOnIt) {
    saver.save(spaces({"A"}));
    saver.drain();
    EXPECT_EQ(storedText("grid"), R"([{"coordinates":[],"id":"A","windowList":[]}])")
        << "stored without the main queue";
    EXPECT_FALSE(GlobalDefaults::grid().typedValue()) << "the setting follows on the main queue";
    clock.runPending();
    ASSERT_TRUE(GlobalDefaults::grid().typedValue());
    EXPECT_EQ(GlobalDefaults::grid().typedValue()->size(), 1u);
    EXPECT_EQ(GlobalDefaults::grid().value(), storedText("grid"));
}

TEST_F(GridSaveQueueTest, ASaveForgetsDisplaysNoSpaceIsPlacedOnAndUnseenForAMonth) {
    CodableScreen unseen;
    unseen.lastEncountered = platform::Date{platform::Date::now().sinceReferenceDate - 40 * 86400};
    GlobalDefaults::screens().setTypedValue(CodableScreenMap{{1, unseen}, {2, unseen}});
    saver.save({std::make_shared<CodableSpace>(
        CodableSpace{.id = "A", .coordinates = {{2, Coordinates{0, 0}}}})});
    settle();
    const auto screens = GlobalDefaults::screens().typedValue();
    ASSERT_TRUE(screens);
    EXPECT_EQ(screens->size(), 1u);
    EXPECT_TRUE(screens->contains(2));
}

TEST_F(GridSaveQueueTest, TheNewestSaveWins) {
    for (const char* id : {"A", "B", "C"}) saver.save(spaces({id}));
    settle();
    ASSERT_TRUE(GlobalDefaults::grid().typedValue());
    EXPECT_EQ(GlobalDefaults::grid().typedValue()->front().id, "C");
}

TEST_F(GridSaveQueueTest, ABurstOfRequestsCopiesTheNewestGridOnceOnTheNextTurn) {
    int copies = 0;
    const char* newest = "A";
    const auto request = [&] {
        saver.requestSave([&] {
            ++copies;
            return spaces({newest});
        });
    };
    request();
    newest = "B";
    request();
    newest = "C";
    EXPECT_EQ(copies, 0) << "nothing is copied before the main queue turns";
    clock.runPending();
    settle();
    EXPECT_EQ(copies, 1);
    ASSERT_TRUE(GlobalDefaults::grid().typedValue());
    EXPECT_EQ(GlobalDefaults::grid().typedValue()->front().id, "C");
}

TEST_F(GridSaveQueueTest, AClearDropsARequestedSaveAndAFlushTakesOne) {
    saver.requestSave([] { return spaces({"A"}); });
    saver.clear();
    settle();
    EXPECT_EQ(storedText("grid"), "") << "a save asked for before a clear stays cleared";

    saver.requestSave([] { return spaces({"B"}); });
    saver.flush();
    EXPECT_EQ(storedText("grid"), R"([{"coordinates":[],"id":"B","windowList":[]}])")
        << "written at quit without another turn of the main queue";
}

TEST_F(GridSaveQueueTest, ASaveInFlightNeverBringsClearedSpacesBack) {
    defaults().set("screens", platform::PropertyValue(std::string("[]")));
    saver.save(spaces({"A", "B"}));
    saver.clear();
    settle();
    EXPECT_EQ(storedText("grid"), "");
    EXPECT_EQ(storedText("screens"), "");

    saver.clear();
    saver.save(spaces({"C"}));
    settle();
    ASSERT_TRUE(GlobalDefaults::grid().typedValue()) << "a save asked for after a clear lands";
    EXPECT_EQ(GlobalDefaults::grid().typedValue()->front().id, "C");
}

TEST_F(GridSaveQueueTest, ManySavesRacingAClearFromTheMainQueueEndOnTheLastRequest) {
    for (int round = 0; round < 50; ++round) {
        saver.save(spaces({"A"}));
        if (round % 7 == 0) saver.clear();
        clock.runPending();
    }
    saver.clear();
    settle();
    EXPECT_EQ(storedText("grid"), "");
}

TEST_F(GridSaveQueueTest, AFlushWritesTheNewestSaveWithoutTheMainQueue) {
    saver.save(spaces({"A"}));
    saver.clear();
    saver.save(spaces({"B"}));
    saver.flush();
    ASSERT_TRUE(GlobalDefaults::grid().typedValue());
    EXPECT_EQ(GlobalDefaults::grid().typedValue()->front().id, "B");
    clock.runPending();
    EXPECT_EQ(GlobalDefaults::grid().typedValue()->front().id, "B") << "nothing lands twice";
}

}  // namespace
}  // namespace zelvana::core::test
