#include "Zelvana/CodableScreen.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Zelvana/CodableSpace.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/tests/ScreenFixture.hpp"

namespace zelvana::core {
namespace {

using nlohmann::json;

const CodableScreen kLeftScreen{5,
                                platform::Rect::make(-1920, 0, 1920, 1080),
                                "DELL U2720Q",
                                4268,
                                41001,
                                0,
                                platform::Date{790000000.25}};

TEST(CodableScreenTest, IsStoredAsAFlatArrayOfNumberAndRecord) {
    const CodableScreenMap screens{{5, kLeftScreen}};
    const json stored = json(screens);
    EXPECT_EQ(stored, json::parse(R"([5, {"id": 5, "frame": [[-1920, 0], [1920, 1080]],
        "name": "DELL U2720Q", "vendor": 4268, "model": 41001, "serial": 0,
        "lastEncountered": 790000000.25}])"));
    EXPECT_NE(stored.dump().find(R"("frame":[[-1920,0],[1920,1080]])"), std::string::npos)
        << stored.dump();
    EXPECT_EQ(json::parse(stored.dump()).get<CodableScreenMap>(), screens);
    EXPECT_EQ(json(CodableScreenMap{}).dump(), "[]");

    CodableScreen right = kLeftScreen;
    right.id = 7;
    right.frame = platform::Rect::make(0, 0, 2560, 1440);
    const CodableScreenMap two{{7, right}, {5, kLeftScreen}};
    EXPECT_EQ(json::parse(json(two).dump()).get<CodableScreenMap>(), two);

    // Members in any order, and members it does not know, are read.
    const auto reordered = json::parse(R"([5, {"lastEncountered": 790000000.25, "serial": 0,
        "model": 41001, "vendor": 4268, "name": "DELL U2720Q", "frame": [[-1920, 0], [1920, 1080]],
        "id": 5, "colorProfile": "sRGB"}])");
    EXPECT_EQ(reordered.get<CodableScreenMap>(), screens);
}

TEST(CodableScreenTest, RefusesAnythingButTheFullRecord) {
    json record = kLeftScreen;
    for (const char* key :
         {"id", "frame", "name", "vendor", "model", "serial", "lastEncountered"}) {
        json missing = record;
        missing.erase(key);
        EXPECT_THROW(json::array({5, missing}).get<CodableScreenMap>(), std::exception) << key;
    }
    json wrongName = record;
    wrongName["name"] = 12;
    EXPECT_THROW(json::array({5, wrongName}).get<CodableScreenMap>(), std::exception);
    EXPECT_THROW(json::array({5, record, 6}).get<CodableScreenMap>(), std::exception)
        << "odd length";
    EXPECT_THROW(json::object({{"5", record}}).get<CodableScreenMap>(), std::exception)
        << "an object keyed by text";
    EXPECT_THROW(json::array({"5", record}).get<CodableScreenMap>(), std::exception);
}

TEST(CodableScreenTest, HardwareKeyJoinsVendorModelAndSerial) {
    CodableScreen screen = kLeftScreen;
    screen.vendor = 1552;
    screen.model = 41001;
    EXPECT_EQ(screen.hardwareKey(), "1552:41001:0");
    EXPECT_EQ(CodableScreen{}.hardwareKey(), "0:0:0");
    screen.serial = 4294967295U;
    EXPECT_EQ(screen.hardwareKey(), "1552:41001:4294967295");
}

class StoredScreensTest : public test::ScreenFixture {
protected:
    static constexpr platform::TimeInterval oneDay = 86400;

    // A record of `display` last encountered `daysAgo` days ago.
    static CodableScreen seen(DisplayNumber display, double daysAgo) {
        CodableScreen screen = kLeftScreen;
        screen.id = display;
        screen.lastEncountered =
            platform::Date{platform::Date::now().sinceReferenceDate - daysAgo * oneDay};
        return screen;
    }
    static CodableSpace placedOn(DisplayNumber display) {
        CodableSpace space;
        space.coordinates[display] = Coordinates{0, 0};
        return space;
    }
    static std::set<DisplayNumber> keys(const CodableScreenMap& screens) {
        std::set<DisplayNumber> numbers;
        for (const auto& [display, screen] : screens) numbers.insert(display);
        return numbers;
    }
};

TEST_F(StoredScreensTest, PruningDropsOnlyUnreferencedRecordsUnseenForOverThirtyDays) {
    CodableScreenMap screens{
        {1, seen(1, 31)}, {2, seen(2, 29)}, {3, seen(3, 400)}, {4, seen(4, 30)}, {5, seen(5, 0)}};
    EXPECT_TRUE(screens.prune({placedOn(3), placedOn(9)}, platform::Date::now()));
    EXPECT_EQ(keys(screens), (std::set<DisplayNumber>{2, 3, 4, 5}))
        << "old and unreferenced goes; recent, referenced and exactly 30 days stay";
    EXPECT_FALSE(screens.prune({placedOn(3)}, platform::Date::now()));

    CodableScreenMap none;
    EXPECT_FALSE(none.prune({}, platform::Date::now()));
}

TEST_F(StoredScreensTest, PruneStoredScreensFollowsTheClockAndTheGrid) {
    GlobalDefaults::screens().setTypedValue(CodableScreenMap{{1, seen(1, 0)}, {2, seen(2, 0)}});
    GlobalDefaults::grid().setTypedValue(std::vector<CodableSpace>{placedOn(2)});
    const auto textBefore = GlobalDefaults::screens().value();

    clock.advance(30 * oneDay * 1000);
    pruneStoredScreens(std::nullopt);
    EXPECT_EQ(GlobalDefaults::screens().value(), textBefore) << "30 days is not yet too old";

    clock.advance(1000);
    pruneStoredScreens(std::vector<CodableSpace>{placedOn(1)});
    EXPECT_EQ(keys(*GlobalDefaults::screens().typedValue()), std::set<DisplayNumber>{1})
        << "the spaces given win over the stored grid";

    GlobalDefaults::screens().setTypedValue(CodableScreenMap{{1, seen(1, 90)}});
    pruneStoredScreens(std::nullopt);
    EXPECT_EQ(keys(*GlobalDefaults::screens().typedValue()), std::set<DisplayNumber>{})
        << "the stored grid refers to display 2 only";

    // Neither an unreadable setting nor a missing grid is touched.
    GlobalDefaults::screens().setValue("[1, {\"id\": 1}]");
    pruneStoredScreens(std::vector<CodableSpace>{});
    EXPECT_EQ(GlobalDefaults::screens().value(), "[1, {\"id\": 1}]");
    GlobalDefaults::grid().setValue("");
    GlobalDefaults::screens().setTypedValue(CodableScreenMap{{1, seen(1, 90)}});
    pruneStoredScreens(std::nullopt);
    EXPECT_TRUE(GlobalDefaults::screens().typedValue()->contains(1));
}

TEST_F(StoredScreensTest, UnreadableStoredTextReadsAsNoScreens) {
    for (const std::string text :
         {"not json", "[5]", R"([5, {"id": 5}])", R"({"5": {}})", R"(["5", {}])"}) {
        defaults().set("screens", text);
        relaunch();
        EXPECT_FALSE(GlobalDefaults::screens().typedValue()) << text;
        EXPECT_EQ(GlobalDefaults::screens().value(), text) << "read, not rewritten";
    }
    EXPECT_TRUE(recorder->hasWarningContaining("screens"));
}

TEST_F(StoredScreensTest, RecordsAndNamesComeFromTheDisplay) {
    const auto screen = addDisplay(3, platform::Rect::make(-1920, 0, 1920, 1080), "Studio", 77);
    const CodableScreen made = CodableScreen::make(screen);
    EXPECT_EQ(made, (CodableScreen{3, platform::Rect::make(-1920, 0, 1920, 1080), "Studio",
                                   vendorNumber, modelNumber, 77, platform::Date::now()}));
    EXPECT_EQ(made.hardwareKey(), "1552:41001:77");
    EXPECT_EQ(displayNumber(screen), 3u);
    EXPECT_EQ(displayName(screen), "Studio");
    const auto info = infoForDisplay(3);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->at("DisplayProductID"), platform::PropertyValue(std::int64_t{modelNumber}));

    // The registry matches by vendor and product only: the first such display names both.
    const auto twin = addDisplay(4, "Twin", 78);
    EXPECT_EQ(displayName(twin), "Studio");

    const platform::Screen detached(9, frameOf(9), frameOf(9), "Gone");
    EXPECT_FALSE(infoForDisplay(9));
    EXPECT_EQ(displayName(detached), "Unknown screen");
}

}  // namespace
}  // namespace zelvana::core
