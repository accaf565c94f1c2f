#include "Zelvana/CodableScreen.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

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

}  // namespace
}  // namespace zelvana::core
