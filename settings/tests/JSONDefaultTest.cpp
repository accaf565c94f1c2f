#include "settings/JSONDefault.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "settings/tests/SettingsTestSupport.hpp"

namespace zelvana::settings::test {
namespace {

using platform::PropertyValue;

struct Record {
    std::string title;
    int row = 0;
    bool operator==(const Record&) const = default;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Record, title, row)

using Records = std::vector<Record>;

class JSONDefaultTest : public SettingsTest {};

TEST_F(JSONDefaultTest, TheTypedValueIsStoredAsItsCompactText) {
    JSONDefault<Records> grid("grid");
    EXPECT_FALSE(grid.typedValue());
    PostRecorder posts("grid");
    grid.announceChanges();

    grid.setTypedValue(Records{{"Mail", 0}});
    EXPECT_EQ(defaults().stringForKey("grid"), R"([{"row":0,"title":"Mail"}])");
    grid.setTypedValue(Records{{"Mail", 0}});
    EXPECT_EQ(posts.updates.size(), 1u) << "the same text is not written again";
    EXPECT_EQ(posts.updates[0].oldValue, std::nullopt);

    EXPECT_EQ(JSONDefault<Records>("grid").typedValue(), (Records{{"Mail", 0}}));

    grid.setTypedValue(std::nullopt);
    EXPECT_EQ(defaults().stringForKey("grid"), "null");
    EXPECT_FALSE(JSONDefault<Records>("grid").typedValue());
}

TEST_F(JSONDefaultTest, WritingTheTextReplacesTheTypedValue) {
    JSONDefault<Records> grid("grid");
    grid.setTypedValue(Records{{"Mail", 0}, {"Code", 1}});

    grid.setValue("");
    EXPECT_FALSE(grid.typedValue()) << "a cleared text leaves nothing to modify";
    EXPECT_EQ(defaults().stringForKey("grid"), "");
    grid.modifyTypedValue([](std::optional<Records>& records) {
        if (!records) records.emplace();
        records->push_back({"Chat", 2});
    });
    EXPECT_EQ(grid.typedValue(), (Records{{"Chat", 2}}));
    EXPECT_EQ(JSONDefault<Records>("grid").typedValue(), (Records{{"Chat", 2}}));

    grid.setValue(R"([{"title":"Web","row":3}])");
    EXPECT_EQ(grid.typedValue(), (Records{{"Web", 3}}));
    grid.setValue(std::nullopt);
    EXPECT_FALSE(grid.typedValue());
    EXPECT_FALSE(defaults().object("grid"));

    CodableDefault snapshot;
    snapshot.stringValue = R"([{"title":"Docs","row":1}])";
    grid.update(snapshot);
    EXPECT_EQ(grid.typedValue(), (Records{{"Docs", 1}}));
    EXPECT_EQ(defaults().stringForKey("grid"), snapshot.stringValue);
    EXPECT_TRUE(warnings().empty());
}

TEST_F(JSONDefaultTest, UndecodableTextReadsAsNoValueAndIsKept) {
    for (const char* garbage : {"{not json", R"([{"title":1,"row":0}])", R"({"title":"x"})"}) {
        defaults().set("grid", garbage);
        JSONDefault<Records> grid("grid");
        EXPECT_FALSE(grid.typedValue()) << garbage;
        EXPECT_EQ(defaults().stringForKey("grid"), garbage) << "kept until the next write";
    }
    EXPECT_EQ(warnings().size(), 3u);

    defaults().set("grid", "");
    EXPECT_FALSE(JSONDefault<Records>("grid").typedValue());
    EXPECT_EQ(warnings().size(), 3u) << "the empty text is how a cleared value is stored";
}

TEST_F(JSONDefaultTest, ATextEncodedOnAnotherThreadIsWrittenOnTheMainQueue) {
    JSONDefault<Records> grid("grid");
    std::optional<std::string> text;
    std::thread encoder([&] { text = JSONDefault<Records>::encode(Records{{"Mail", 4}}); });
    encoder.join();
    ASSERT_TRUE(text);
    grid.setValue(text);
    EXPECT_EQ(grid.typedValue(), (Records{{"Mail", 4}}));
    EXPECT_EQ(JSONDefault<Records>::encode(std::nullopt), "null");
    EXPECT_FALSE(JSONDefault<std::string>::encode(std::string("\xff"))) << "not UTF-8";

    JSONDefault<std::string> name("name");
    name.setTypedValue(std::string("\xff"));
    EXPECT_FALSE(defaults().object("name"));
    EXPECT_EQ(warnings().size(), 1u);
}

struct Point {
    double x = 0;
    bool operator==(const Point&) const = default;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Point, x)

TEST_F(JSONDefaultTest, AValueThatWouldNotReadBackIsRefusedAndTheOldTextKept) {
    JSONDefault<std::vector<Point>> frames("frames");
    frames.setTypedValue(std::vector<Point>{{1.5}});
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        frames.setTypedValue(std::vector<Point>{{2}, {bad}});
        EXPECT_EQ(defaults().stringForKey("frames"), R"([{"x":1.5}])") << "not null in its place";
        EXPECT_EQ(frames.typedValue(), (std::vector<Point>{{1.5}})) << "value and text agree";
    }
    EXPECT_EQ(warnings().size(), 2u);
    EXPECT_FALSE(JSONDefault<std::vector<Point>>::encode(std::vector<Point>{{-INFINITY}}));
}

TEST_F(JSONDefaultTest, HostileTextIsRefusedWithAShortMessage) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::string wrong = "[" + std::string(50, '[') + std::string(50, ']') + "]";
    for (const auto& text : {deep, wrong}) {
        defaults().set("grid", text);
        EXPECT_FALSE(JSONDefault<Records>("grid").typedValue());
    }
    ASSERT_EQ(warnings().size(), 2u);
    for (const auto& warning : warnings()) {
        EXPECT_LT(warning.size(), 300u) << "the value is never written into the message";
        EXPECT_EQ(warning.find("[["), std::string::npos) << warning;
    }
}

}  // namespace
}  // namespace zelvana::settings::test
