#include "Zelvana/ScreenManager.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "Zelvana/tests/ScreenFixture.hpp"

namespace zelvana::core::test {
namespace {

using platform::Rect;

class ScreenManagerTest : public ScreenFixture {
protected:
    // A stored record of a display of the fixture's hardware.
    static CodableScreen stored(DisplayNumber id, Rect frame, std::string name,
                                std::uint32_t serial = 0) {
        return CodableScreen{id,          frame,  std::move(name),    vendorNumber,
                             modelNumber, serial, platform::Date{100}};
    }
    static void store(const CodableScreenMap& screens) {
        GlobalDefaults::screens().setTypedValue(screens);
    }
    static void showSpaceNumber(std::optional<bool> on) {
        GlobalDefaults::menuBarSpaceNumber().setOptionalValue(on);
    }
};

TEST_F(ScreenManagerTest, RecordsTheAttachedDisplaysBesideTheStoredOnes) {
    const auto old = stored(9, frameOf(9), "Old");
    store({{9, old}, {1, stored(1, frameOf(5), "Moved")}});
    addDisplay(1, "Left");
    addDisplay(2, "Right", 5);
    clock.advance(1000);

    ScreenManager manager;
    const auto& screens = manager.storedScreens();
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens.at(9), old);
    EXPECT_EQ(screens.at(1), CodableScreen::make(desktop.display(1)->screen()))
        << "the live display replaces its older record";
    EXPECT_EQ(screens.at(2).serial, 5u);
    EXPECT_EQ(screens.at(2).lastEncountered, platform::Date::now());
    EXPECT_EQ(GlobalDefaults::screens().typedValue(), screens);

    // A display added later is recorded a second after it arrives.
    addDisplay(3, "Third");
    clock.advance(999);
    EXPECT_FALSE(manager.storedScreens().contains(3));
    clock.advance(1);
    EXPECT_TRUE(manager.storedScreens().contains(3));
    EXPECT_TRUE(GlobalDefaults::screens().typedValue()->contains(3));
}

TEST_F(ScreenManagerTest, UnreadableStoredScreensAreKeptAsideBeforeTheyAreReplaced) {
    addDisplay(1);
    for (const std::string text : {"{", "[1]", R"([1, {"id": 1}])"}) {
        defaults().set("screens", text);
        relaunch();
        ScreenManager manager;
        EXPECT_TRUE(GlobalDefaults::screens().typedValue()) << "replaced by this launch's";
        bool kept = false;
        for (const auto& file : std::filesystem::directory_iterator(folders.data() / "zelvana")) {
            std::ifstream in(file.path());
            kept |= std::string(std::istreambuf_iterator<char>(in), {}) == text;
        }
        EXPECT_TRUE(kept) << text;
    }

    // Where nothing can be kept, they stay until a display change saves on purpose.
    std::filesystem::remove_all(folders.data());
    std::ofstream(folders.data()) << "not a folder";
    defaults().set("screens", "{");
    relaunch();
    ScreenManager manager;
    EXPECT_EQ(GlobalDefaults::screens().value(), "{") << "not overwritten at start";
    EXPECT_TRUE(recorder->hasWarningContaining("nor kept aside"));
    addDisplay(2);
    clock.advance(1000);
    const auto saved = GlobalDefaults::screens().typedValue();
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->contains(1) && saved->contains(2));
}

TEST_F(ScreenManagerTest, MapsARenumberedDisplayToItsStoredNumberAndRemembers) {
    store({{7, stored(7, frameOf(1), "Display", 42)}, {8, stored(8, frameOf(1), "Display", 43)}});
    const auto reconnected = addDisplay(12, "Display", 42);
    const auto stranger = addDisplay(13, "Display", 99);
    ScreenManager manager;

    EXPECT_EQ(manager.storedId(reconnected, std::set<DisplayNumber>{7, 8}), 7u);
    EXPECT_EQ(manager.storedId(reconnected, std::set<DisplayNumber>{}), 7u)
        << "answered from the cache";
    // Without `among` the display's own new record is the only candidate.
    EXPECT_EQ(manager.storedId(stranger), 13u);
    const auto unknown = platform::Screen(14, frameOf(3), frameOf(3), "Gone");
    EXPECT_EQ(manager.storedId(unknown, std::set<DisplayNumber>{7, 8}), std::nullopt);
    EXPECT_EQ(manager.storedId(unknown, std::set<DisplayNumber>{}), std::nullopt);
}

TEST_F(ScreenManagerTest, TellsIdenticalDisplaysApartByFrameThenProductName) {
    const Rect left = frameOf(1), right = frameOf(2), elsewhere = frameOf(3);
    store({{7, stored(7, left, "Left")}, {8, stored(8, right, "Right")}});
    const std::set<DisplayNumber> among{7, 8};

    const auto byFrame = addDisplay(20, right, "Left");
    ScreenManager manager;
    EXPECT_EQ(manager.storedId(byFrame, among), 8u) << "the frame wins over the name";

    desktop.removeDisplay(20);
    const auto byName = addDisplay(21, elsewhere, "Left");
    EXPECT_EQ(manager.storedId(byName, among), 7u);

    desktop.removeDisplay(21);
    const auto neither = addDisplay(22, elsewhere, "Other");
    EXPECT_EQ(manager.storedId(neither, among), std::nullopt);
    desktop.removeDisplay(22);
    addDisplay(22, left, "Other");
    EXPECT_EQ(manager.storedId(desktop.display(22)->screen(), among), 7u)
        << "no answer was cached for 22";
}

TEST_F(ScreenManagerTest, PollsWhileTheSpaceNumberShowsOnTwoDisplays) {
    addDisplay(1);
    showSpaceNumber(true);
    ScreenManager manager;
    auto& observer = manager.mainScreenObserver();
    EXPECT_FALSE(observer.isPolling()) << "one display";

    addDisplay(2);
    clock.advance(999);
    EXPECT_FALSE(observer.isPolling());
    clock.advance(1);
    EXPECT_TRUE(observer.isPolling());

    showSpaceNumber(false);
    EXPECT_FALSE(observer.isPolling()) << "stops at once";
    EXPECT_EQ(observer.runningThreads(), 0);
    showSpaceNumber(std::nullopt);
    EXPECT_FALSE(observer.isPolling()) << "undefined counts as off";
    showSpaceNumber(true);
    EXPECT_TRUE(observer.isPolling());

    // Display changes in a row never leave more than one polling thread.
    for (platform::DisplayID number = 3; number < 6; ++number) addDisplay(number);
    desktop.removeDisplay(3);
    clock.advance(1000);
    EXPECT_TRUE(observer.isPolling());
    EXPECT_EQ(observer.runningThreads(), 1);
    EXPECT_EQ(observer.threadsStarted(), 2);

    for (platform::DisplayID number : {2u, 4u, 5u}) desktop.removeDisplay(number);
    clock.advance(1000);
    EXPECT_FALSE(observer.isPolling()) << "one display left";
}

TEST_F(ScreenManagerTest, DisplayWorkDueAfterTheManagerIsGoneIsDropped) {
    addDisplay(1);
    {
        ScreenManager manager;
        addDisplay(2);
    }
    clock.advance(1000);
    EXPECT_FALSE(GlobalDefaults::screens().typedValue()->contains(2));
    addDisplay(3);  // no callback is left registered
    clock.advance(1000);
    EXPECT_FALSE(GlobalDefaults::screens().typedValue()->contains(3));
}

}  // namespace
}  // namespace zelvana::core::test
