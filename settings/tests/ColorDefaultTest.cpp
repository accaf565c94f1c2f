#include "settings/ColorDefault.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "settings/CodableColor.hpp"
#include "settings/tests/SettingsTestSupport.hpp"

namespace zelvana::settings::test {
namespace {

using platform::Color;
using platform::PropertyValue;

class ColorDefaultTest : public SettingsTest {};

TEST_F(ColorDefaultTest, StoredTextThatIsNoColourLeavesTheDefault) {
    EXPECT_EQ(ColorDefault("tint", Color::white()).value(), Color::white());
    defaults().set("tint", R"({"red":1,"green":0.5,"blue":0})");
    EXPECT_EQ(ColorDefault("tint", Color::white()).value(), Color::rgb(1, 0.5, 0, 1));
    EXPECT_TRUE(warnings().empty());

    for (const char* garbage :
         {"blue", R"({"green":1,"blue":1})", R"({"red":"1","green":0,"blue":0})"}) {
        defaults().set("tint", garbage);
        EXPECT_EQ(ColorDefault("tint", Color::white()).value(), Color::white()) << garbage;
    }
    defaults().set("tint", platform::Data{1, 2});
    EXPECT_EQ(ColorDefault("tint", Color::white()).value(), Color::white());
    EXPECT_EQ(warnings().size(), 4u);
}

TEST_F(ColorDefaultTest, EverySetWritesTheColoursText) {
    ColorDefault tint("tint", Color::black());
    PostRecorder posts("tint");
    tint.announceChanges();
    const auto black = tint.colorJSON();
    ASSERT_TRUE(black);
    EXPECT_EQ(nlohmann::json::parse(*black),
              nlohmann::json::parse(R"({"red":0,"green":0,"blue":0,"alpha":1})"));

    tint.setValue(Color::rgb(0.25, 0.5, 0.75, 0.5));
    tint.setValue(Color::rgb(0.25, 0.5, 0.75, 0.5));
    ASSERT_EQ(posts.updates.size(), 2u) << "equal colours are written too";
    EXPECT_EQ(posts.updates[0].oldValue, PropertyValue(*black));
    EXPECT_EQ(posts.updates[1].value, posts.updates[1].oldValue);
    EXPECT_EQ(ColorDefault("tint", Color::black()).value(), Color::rgb(0.25, 0.5, 0.75, 0.5));

    tint.setValue(Color::rgb(std::nan(""), 0, 0));
    EXPECT_EQ(posts.updates.size(), 2u) << "a colour without a JSON form is not written";
    EXPECT_EQ(warnings().size(), 1u);
}

TEST_F(ColorDefaultTest, ASnapshotWritesOnlyTextThatDecodes) {
    ColorDefault tint("tint", Color::black());
    CodableDefault snapshot;
    snapshot.stringValue = "not a colour";
    tint.update(snapshot);
    EXPECT_EQ(tint.value(), Color::black());
    EXPECT_FALSE(defaults().object("tint"));
    EXPECT_EQ(warnings().size(), 1u);

    snapshot.stringValue = R"({"red":1,"green":1,"blue":0})";
    tint.update(snapshot);
    EXPECT_EQ(tint.value(), Color::rgb(1, 1, 0));
    EXPECT_EQ(defaults().stringForKey("tint"), snapshot.stringValue);
    tint.update(CodableDefault{});
    EXPECT_EQ(tint.value(), Color::rgb(1, 1, 0));
    EXPECT_EQ(tint.toCodable().stringValue, tint.colorJSON());
}

TEST(CodableColorTest, ConversionsKeepComponentsAndDefaultToOpaque) {
    const auto label = encodeColor(Color::labelColor());
    EXPECT_EQ(label, (CodableColor{0, 0, 0, 0.85}));
    EXPECT_EQ(decodeColor(CodableColor{0.1, 0.2, 0.3, std::nullopt}), Color::rgb(0.1, 0.2, 0.3, 1));

    CodableColor noAlpha{1, 0, 0, std::nullopt};
    EXPECT_EQ(nlohmann::json::parse(*noAlpha.jsonText()),
              nlohmann::json::parse(R"({"red":1.0,"green":0.0,"blue":0.0})"));
    EXPECT_EQ(CodableColor::fromJSONText(*noAlpha.jsonText()), noAlpha);
    EXPECT_EQ(CodableColor::fromJSONText(*label.jsonText()), label);
    EXPECT_FALSE(CodableColor::fromJSONText(R"({"red":1,"green":0,"blue":0,"alpha":true})"));
    EXPECT_FALSE(CodableColor::fromJSONText("[1,0,0]"));
}

}  // namespace
}  // namespace zelvana::settings::test
