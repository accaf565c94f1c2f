#include "Zelvana/CodableSpace.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/SpaceGrid.hpp"
#include "Zelvana/tests/SpaceFixture.hpp"
#include "platform/foundation/JSONText.hpp"

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

std::string decodingError(const std::string& text) {
    try {
        json::parse(text).get<std::vector<CodableSpace>>();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "decoded";
}

TEST(CodableSpaceTest, DecodingErrorsNameTheMemberAndTypeButNeverTheValue) {
    const std::string bare = R"("windowList": [], "coordinates": [])";
    EXPECT_EQ(decodingError("[{" + bare + R"(, "lastActive": "1 May, secret"}])"),
              "\"lastActive\": expected a number, found string");
    EXPECT_EQ(decodingError(R"([{"windowList": [], "coordinates": [3, {"row": [7], "col": 0}]}])"),
              "\"coordinates\": \"row\": expected a whole number, found array");
    const std::string nested = std::string(200, '[') + std::string(200, ']');
    EXPECT_EQ(decodingError("[" + nested + "]"), "expected an object, found array");
    EXPECT_EQ(decodingError(R"([{"windowList": )" + nested + R"(, "coordinates": []}])").find("[["),
              std::string::npos);
}

class StoredSpaceTest : public test::SpaceFixture {};

// The grid as the setting read every text before it read saves directly.
std::optional<std::vector<CodableSpace>> readThroughTree(const std::string& text) {
    const auto parsed = platform::JSONText::parse(text);
    if (!parsed) return std::nullopt;
    try {
        return parsed->get<std::vector<CodableSpace>>();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

TEST(StoredGridReadingTest, ReadsWhatSavesWriteAndLeavesEveryOtherTextToTheTree) {
    CodableSpace other;
    other.title = "B\u00fcro \u2713 \U0001F600";
    other.windowList = {
        tools::WindowInfo{7, -20, platform::Rect::make(-0.5, 1e-3, 1.25e9, 3), -1, "Caf\u00e9"}};
    other.coordinates = {{4294967295u, Coordinates{-1, 20000}}};
    other.lastActive = platform::Date{-1234.0625};
    other.color = settings::CodableColor{0.1, 0.2, 0.3, std::nullopt};
    const auto saved = *GlobalDefaults::Grid::encode(std::vector{fullSpace(), other});
    ASSERT_TRUE(StoredGridReading::read(saved)) << "a save is read without the tree";
    EXPECT_EQ(StoredGridReading::read(saved), readThroughTree(saved));

    const std::string bare = R"("windowList":[],"coordinates":[])";
    const std::string texts[] = {
        "[]", " [ ] ", "[{" + bare + "}]", " [\n{ \"windowList\" : [ ] ,\t\"coordinates\":[]}\r] ",
        // Forms only the tree reads: escapes, null, a byte-order mark, an unknown or
        // repeated member, whole numbers written as reals.
        R"([{"title":"a\"b\u00e9",)" + bare + "}]", R"([{"title":null,)" + bare + "}]",
        "\xEF\xBB\xBF[]", R"([{"extra":1,)" + bare + "}]",
        R"([{"title":"a","title":"b",)" + bare + "}]", R"([{"lastDisplayID":2.0,)" + bare + "}]",
        R"([{"windowList":[],"coordinates":[1,{"row":0,"col":0},1,{"row":2,"col":3}]}])",
        R"([{"windowList":[{"id":1,"frame":[[1e2,-0],[0.5E-1,-0.0]],"pid":2}],"coordinates":[]}])",
        R"([{"color":{"red":1,"green":0,"blue":0,"alpha":null},)" + bare + "}]",
        // What neither reads.
        "", "{}", "[null]", "[{}]", "[]]", "[] x", "[", "[{" + bare + "},]", "[{" + bare + "}",
        R"([{"windowList":[]}])", R"([{"coordinates":[]}])",
        R"([{"windowList":[],"coordinates":[1]}])",
        R"([{"windowList":[],"coordinates":[1,{"row":0}]}])",
        R"([{"windowList":[{"id":4294967296,"frame":[[0,0],[1,1]],"pid":2}],"coordinates":[]}])",
        R"([{"windowList":[{"id":1,"frame":[[0,0],[1]],"pid":2}],"coordinates":[]}])",
        R"([{"windowList":[{"id":1,"frame":[[0,0],[1,1]]}],"coordinates":[]}])",
        R"([{"lastActive":01,)" + bare + "}]", R"([{"lastActive":1.,)" + bare + "}]",
        R"([{"lastActive":.5,)" + bare + "}]", R"([{"lastActive":1e999,)" + bare + "}]",
        R"([{"isStale":True,)" + bare + "}]", R"([{"color":{"red":1,"green":0},)" + bare + "}]",
        "[{\"title\":\"a\tb\"," + bare + "}]", "[{\"title\":\"\xC3(\"," + bare + "}]",
        "[{\"title\":\"\xC0\xAF\"," + bare + "}]", "[{\"title\":\"\xED\xA0\x80\"," + bare + "}]",
        "[{\"title\":\"\xF4\x90\x80\x80\"," + bare + "}]", std::string("[]\0", 3)};
    for (const auto& text : texts) {
        const auto direct = StoredGridReading::read(text);
        EXPECT_EQ(direct ? direct : readThroughTree(text), readThroughTree(text)) << text;
    }
    EXPECT_TRUE(StoredGridReading::read(texts[3])) << "white space between tokens";
}

TEST_F(StoredSpaceTest, GridIsStoredInItsExactShape) {
    const auto screen = addDisplay(1);
    const auto live = spaceOn(screen, {{1, Coordinates{0, 2}}});
    live->setTitle("Mail");
    live->setColor(platform::Color::rgb(0.25, 0.5, 1.0));
    live->setBorderColor(platform::Color::rgb(1, 0, 0));
    live->setBorderSize(3);
    live->setIsNewSelection(true);
    live->setLastDisplayID(1);
    live->setWindowList({test::SpaceFixture::windowOf(311, 42)});
    const auto stale = std::make_shared<Space>(Space::Fields{.id = "B", .isStale = true});
    const SpaceGrid grid({live, stale});

    const json expected = json::parse(R"([{
        "id": ")" + *live->id() + R"(",
        "title": "Mail",
        "windowList": [{"id": 42, "layer": 0, "frame": [[0, 0], [800, 600]], "pid": 311,
                        "processName": "App"}],
        "coordinates": [1, {"row": 0, "col": 2}],
        "lastDisplayID": 1,
        "lastActive": 800000000,
        "color": {"red": 0.25, "green": 0.5, "blue": 1.0, "alpha": 1.0},
        "isActive": true
    }, {"id": "B", "windowList": [], "coordinates": [], "isStale": true, "isActive": false}])");
    json stored = json::array();
    for (const auto& record : grid.records()) stored.push_back(*record);
    EXPECT_EQ(stored, expected);
}

TEST_F(StoredSpaceTest, EveryChangeToAStoredFieldRemakesTheSharedRecord) {
    const auto screen = addDisplay(1);
    const auto live = spaceOn(screen);
    const auto kept = live->record();
    live->setIsNewSelection(true);
    live->setBorderSize(4);
    EXPECT_EQ(live->record(), kept) << "shared while nothing stored changes";

    const std::pair<const char*, std::function<void()>> changes[] = {
        {"title", [&] { live->setTitle("Mail"); }},
        {"color", [&] { live->setColor(platform::Color::rgb(1, 0, 0)); }},
        {"windowList", [&] { live->setWindowList({windowOf(311, 42)}); }},
        {"coordinates",
         [&] {
             live->setCell(1, Coordinates{2, 3});
         }},
        {"lastDisplayID", [&] { live->setLastDisplayID(1); }},
        {"isStale", [&] { live->setIsStale(true); }},
        {"id", [&] { live->setId("B"); }},
        {"lastActive", [&] { live->anchor()->setLastActive(platform::Date{5}); }},
        {"isActive", [&] { live->anchor()->setIsActive(false); }},
        {"anchor", [&] { live->setAnchor(nullptr); }},
    };
    for (const auto& [field, change] : changes) {
        const json before = *live->record();
        change();
        EXPECT_NE(json(*live->record()), before) << field << " is missing from the saved record";
    }
    EXPECT_EQ(json(*live->record()), json::parse(R"({"id": "B", "title": "Mail",
        "windowList": [{"id": 42, "layer": 0, "frame": [[0, 0], [800, 600]], "pid": 311,
                        "processName": "App"}],
        "coordinates": [1, {"row": 2, "col": 3}], "lastDisplayID": 1, "isStale": true,
        "color": {"red": 1, "green": 0, "blue": 0, "alpha": 1}, "isActive": false})"));

    // Every refresh places each space and notes its display again.
    const auto settled = live->record();
    live->setCell(1, Coordinates{2, 3});
    live->setLastDisplayID(1);
    live->setIsStale(true);
    EXPECT_EQ(live->record(), settled) << "what was already stored remade the record";
}

TEST_F(StoredSpaceTest, RestoredSpacesWaitForTheirAnchor) {
    auto record = json::parse(R"({"id": "A", "title": "Mail", "windowList": [],
        "coordinates": [3, {"row": 1, "col": 0}], "lastDisplayID": 3, "lastActive": 5,
        "color": {"red": 1, "green": 0, "blue": 0}})")
                      .get<CodableSpace>();
    const auto space = record.makeSpace(StoredStaleness::drop);
    EXPECT_EQ(space->id(), "A");
    EXPECT_EQ(space->title(), "Mail");
    EXPECT_FALSE(space->anchor());
    EXPECT_FALSE(space->size());
    EXPECT_EQ(space->coordinates(), (Space::CoordinateMap{{3, Coordinates{1, 0}}}));
    EXPECT_EQ(space->lastDisplayID(), 3u);
    EXPECT_EQ(space->color(), platform::Color::rgb(1, 0, 0));
    EXPECT_TRUE(space->isStale()) << "an ordinary start makes every restored space stale";
    EXPECT_TRUE(space->isActiveOnLoad()) << "no isActive reads as active";
    EXPECT_FALSE(space->record()->lastActive) << "the date lives in the anchor";

    EXPECT_FALSE(record.makeSpace(StoredStaleness::keep)->isStale())
        << "a relaunch keeps the stored staleness";
    record.isStale = true;
    record.isActive = false;
    EXPECT_TRUE(record.makeSpace(StoredStaleness::keep)->isStale());
    EXPECT_FALSE(record.makeSpace(StoredStaleness::keep)->isActiveOnLoad());

    addApplication(101, "Mail");
    record.windowList = {windowOf(101, 1)};
    const auto pictured = record.makeSpace(StoredStaleness::keep);
    ASSERT_TRUE(pictured->image());
    EXPECT_EQ(pictured->image()->size(), (platform::Size{70, 70})) << "base 210 without anchor";
}

TEST_F(StoredSpaceTest, UnreadableGridIsLoggedAndKept) {
    for (const std::string& text : std::vector<std::string>{
             "not json",
             R"([{"windowList": [], "coordinates": []}, {"windowList": []}])",
             R"([{"windowList": [], "coordinates": [1]}])",
             R"([{"windowList": [], "coordinates": [1, {"row": 0}]}])",
             R"({"windowList": [], "coordinates": []})",
             std::string(100000, '[') + std::string(100000, ']'),
         }) {
        defaults().set("grid", text);
        relaunch();
        const auto warnings = std::make_shared<test::WarningRecorder>();
        logging::Logging::addDestination(warnings);
        EXPECT_FALSE(GlobalDefaults::grid().typedValue()) << text;
        EXPECT_TRUE(warnings->hasWarningContaining("setting 'grid'")) << text;
        pruneStoredScreens(std::nullopt);
        EXPECT_EQ(defaults().stringForKey("grid"), text) << "left for the user to recover";
        logging::Logging::removeDestination(warnings);
    }
    GlobalDefaults::grid().setTypedValue(std::vector<CodableSpace>{});
    EXPECT_EQ(defaults().stringForKey("grid"), "[]") << "until a grid is saved on purpose";

    // Members from elsewhere are passed over, not a reason to lose the grid.
    defaults().set("grid", R"([{"windowList": [], "coordinates": [], "pinned": true}])");
    relaunch();
    ASSERT_TRUE(GlobalDefaults::grid().typedValue());
    EXPECT_EQ(GlobalDefaults::grid().typedValue()->size(), 1u);
}

}  // namespace
}  // namespace zelvana::core
