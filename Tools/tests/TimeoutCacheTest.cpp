#include "Tools/TimeoutCache.hpp"

#include <gtest/gtest.h>

#include <string>

#include "platform/dispatch/Clock.hpp"

namespace zelvana::tools {
namespace {

using Keys = std::vector<std::string>;

class TimeoutCacheTest : public ::testing::Test {
protected:
    platform::VirtualClock clock;
    TimeoutCache<std::string, int> cache{100};
};

TEST_F(TimeoutCacheTest, AnEntryLivesItsTimeoutFromBeingStoredHoweverOftenRead) {
    EXPECT_EQ(uptimeMilliseconds(), 0u);
    cache.setValue(1, "a");
    clock.advance(60);
    EXPECT_EQ(cache.value("a"), 1);
    clock.advance(40);
    EXPECT_EQ(uptimeMilliseconds(), 100u);
    EXPECT_EQ(cache.value("a"), 1) << "expiring now is still a hit";
    clock.advance(1);
    EXPECT_EQ(cache.value("a"), std::nullopt);
    EXPECT_EQ(cache.count(), 0u) << "the expired entry is forgotten when read";
    EXPECT_EQ(cache.value("never"), std::nullopt);
}

TEST_F(TimeoutCacheTest, StoringReplacesAtTheTailAndNothingOnlyRemoves) {
    cache.setValue(1, "a");
    cache.setValue(2, "b");
    clock.advance(50);
    cache.setValue(3, "a");
    EXPECT_EQ(cache.keys(), (Keys{"b", "a"}));
    clock.advance(60);
    EXPECT_EQ(cache.value("a"), 3) << "a new expiry with the new value";
    EXPECT_EQ(cache.value("b"), std::nullopt);

    cache.setValue(std::nullopt, "a");
    EXPECT_EQ(cache.value("a"), std::nullopt);
    EXPECT_EQ(cache.count(), 0u);
    cache.removeValue("missing");
    cache.setValue(4, "c");
    cache.removeValue("c");
    EXPECT_EQ(cache.count(), 0u);
}

TEST_F(TimeoutCacheTest, ExpiredEntriesAreSweptAtMostEveryTenSeconds) {
    clock.advance(1);
    cache.setValue(1, "a");  // sweeps; the next sweep is due after 10001
    clock.advance(200);
    cache.setValue(2, "b");
    EXPECT_EQ(cache.count(), 2u) << "expired, but no sweep yet";
    clock.advance(9800);
    cache.setValue(3, "c");
    EXPECT_EQ(cache.count(), 3u) << "10001 is not yet past";
    clock.advance(1);
    cache.setValue(4, "d");
    EXPECT_EQ(cache.keys(), (Keys{"c", "d"})) << "the sweep stops at the first live entry";
}

}  // namespace
}  // namespace zelvana::tools
