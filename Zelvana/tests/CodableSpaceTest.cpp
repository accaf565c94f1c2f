#include "Zelvana/CodableSpace.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace zelvana::core {
namespace {

using nlohmann::json;

bool decodes(const json& value) {
    try {
        value.get<CodableSpace>();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

CodableSpace fullSpace() {
    CodableSpace space;
    space.id = "8E2B3C4D-0000-4000-8000-000000000001";
    space.title = "Mail";
    space.windowList = {
        tools::WindowInfo{42, 0, platform::Rect::make(10, 20, 800, 600), 311, "Mail"},
        tools::WindowInfo{43, std::nullopt, platform::Rect::make(0, 0, 50, 60), 12, std::nullopt}};
    space.coordinates = {{1, Coordinates{0, 1}}, {2, Coordinates{0, 0}}};
    space.lastDisplayID = 2;
    space.lastActive = platform::Date{800000000.5};
    space.isStale = true;
    space.color = settings::CodableColor{0.25, 0.5, 1.0, 1.0};
    space.isActive = false;
    return space;
}

TEST(CodableSpaceTest, WritesEveryMemberUnderItsKey) {
    const json expected = json::parse(R"({
        "id": "8E2B3C4D-0000-4000-8000-000000000001",
        "title": "Mail",
        "windowList": [
            {"id": 42, "layer": 0, "frame": [[10, 20], [800, 600]], "pid": 311,
             "processName": "Mail"},
            {"id": 43, "frame": [[0, 0], [50, 60]], "pid": 12}
        ],
        "coordinates": [1, {"row": 0, "col": 1}, 2, {"row": 0, "col": 0}],
        "lastDisplayID": 2,
        "lastActive": 800000000.5,
        "isStale": true,
        "color": {"red": 0.25, "green": 0.5, "blue": 1.0, "alpha": 1.0},
        "isActive": false
    })");
    EXPECT_EQ(json(fullSpace()), expected);
    EXPECT_EQ(expected.get<CodableSpace>(), fullSpace());
}

TEST(CodableSpaceTest, LeavesAbsentMembersOut) {
    CodableSpace bare;
    EXPECT_EQ(json(bare), json::parse(R"({"windowList": [], "coordinates": []})"));
    EXPECT_EQ(
        json::parse(R"({"windowList": [], "coordinates": [], "title": null})").get<CodableSpace>(),
        bare)
        << "null reads as absent";

    const std::vector<CodableSpace> grid{fullSpace(), bare};
    EXPECT_EQ(json::parse(json(grid).dump()).get<std::vector<CodableSpace>>(), grid);
}

TEST(CodableSpaceTest, CoordinatesAreAnObjectOfRowAndCol) {
    EXPECT_EQ(json(Coordinates{3, 2}), json::parse(R"({"row": 3, "col": 2})"));
    EXPECT_EQ(json::parse(R"({"col": 2, "row": 3})").get<Coordinates>(), (Coordinates{3, 2}));
    EXPECT_EQ(json::parse(R"({"row": 3.0, "col": -2})").get<Coordinates>(), (Coordinates{3, -2}));
    EXPECT_THROW(json::parse(R"({"row": 3})").get<Coordinates>(), std::exception);
    EXPECT_THROW(json::parse(R"({"row": "3", "col": 2})").get<Coordinates>(), std::exception);
    EXPECT_THROW(json::parse(R"({"row": 1.5, "col": 2})").get<Coordinates>(), std::exception);
}

TEST(CodableSpaceTest, RefusesRecordsThatDoNotFit) {
    EXPECT_TRUE(
        decodes(json::parse(R"({"windowList": [], "coordinates": [5, {"row": 0, "col": 0}]})")));
    EXPECT_FALSE(decodes(json::parse(R"({"coordinates": []})"))) << "no windowList";
    EXPECT_FALSE(decodes(json::parse(R"({"windowList": []})"))) << "no coordinates";
    EXPECT_FALSE(decodes(json::parse(R"({"windowList": [], "coordinates": [5]})")))
        << "a key without its value";
    EXPECT_FALSE(
        decodes(json::parse(R"({"windowList": [], "coordinates": {"5": {"row": 0, "col": 0}}})")))
        << "an object instead of the flat array";
    EXPECT_FALSE(
        decodes(json::parse(R"({"windowList": [], "coordinates": [-1, {"row": 0, "col": 0}]})")))
        << "a negative display number";
    EXPECT_FALSE(decodes(
        json::parse(R"({"windowList": [], "coordinates": [4294967296, {"row": 0, "col": 0}]})")))
        << "a display number beyond 32 bits";
    EXPECT_FALSE(decodes(json::parse(R"({"windowList": [], "coordinates": [], "isStale": 1})")));
    EXPECT_FALSE(
        decodes(json::parse(R"({"windowList": [], "coordinates": [], "lastActive": "today"})")));
    EXPECT_FALSE(
        decodes(json::parse(R"({"windowList": [{"id": 1, "pid": 2}], "coordinates": []})")))
        << "a window without a frame";
    EXPECT_FALSE(decodes(json::parse(
        R"({"windowList": [{"id": 1, "frame": [[0, 0]], "pid": 2}], "coordinates": []})")));
    EXPECT_FALSE(decodes(json::parse(R"([])")));
    // One bad record spoils the whole grid.
    EXPECT_THROW(json::parse(R"([{"windowList": [], "coordinates": []}, {"coordinates": []}])")
                     .get<std::vector<CodableSpace>>(),
                 std::exception);
}

}  // namespace
}  // namespace zelvana::core
