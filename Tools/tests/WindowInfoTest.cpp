#include "Tools/WindowInfo.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <nlohmann/json.hpp>

#include "Tools/tests/ToolsTestSupport.hpp"

namespace zelvana::tools::test {
namespace {

using nlohmann::json;
using platform::PropertyDictionary;
using platform::PropertyValue;
using platform::Rect;

PropertyDictionary description() {
    return PropertyDictionary{
        {"kCGWindowNumber", 7},
        {"kCGWindowLayer", 0},
        {"kCGWindowBounds",
         PropertyDictionary{{"X", 1.0}, {"Y", 2.0}, {"Width", 100.0}, {"Height", 50.0}}},
        {"kCGWindowOwnerPID", 42},
        {"kCGWindowOwnerName", "Mail"},
    };
}

PropertyDictionary with(const char* key, PropertyValue value) {
    auto changed = description();
    changed[key] = std::move(value);
    return changed;
}

PropertyDictionary withBounds(const char* key, PropertyValue value) {
    auto changed = description();
    auto bounds = *changed["kCGWindowBounds"].dictionaryValue();
    bounds[key] = std::move(value);
    changed["kCGWindowBounds"] = bounds;
    return changed;
}

PropertyDictionary without(const char* key) {
    auto changed = description();
    changed.erase(key);
    return changed;
}

bool bothDrop(const PropertyDictionary& changed) {
    return !WindowInfo::fromDescription(changed) && !WindowInfo::fromFilteredDescription(changed);
}

bool decodes(const json& value) {
    try {
        value.get<WindowInfo>();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

TEST(WindowInfoTest, DescriptionsConvertWithTheirFilters) {
    const Rect frame = Rect::make(1, 2, 100, 50);
    EXPECT_EQ(WindowInfo::fromFilteredDescription(description()),
              (WindowInfo{7, std::nullopt, frame, 42, std::string("Mail")}));
    EXPECT_EQ(WindowInfo::fromDescription(description()),
              (WindowInfo{7, 0, frame, 42, std::string("Mail")}));

    EXPECT_FALSE(WindowInfo::fromFilteredDescription(with("kCGWindowLayer", 3)));
    EXPECT_FALSE(WindowInfo::fromFilteredDescription(without("kCGWindowLayer")));
    EXPECT_TRUE(WindowInfo::fromFilteredDescription(with("kCGWindowLayer", 0.0)));
    EXPECT_FALSE(WindowInfo::fromFilteredDescription(withBounds("Height", 40.0)));
    EXPECT_FALSE(WindowInfo::fromFilteredDescription(withBounds("Width", std::nan(""))));
    EXPECT_FALSE(WindowInfo::fromFilteredDescription(without("kCGWindowOwnerName")));
    EXPECT_FALSE(WindowInfo::fromFilteredDescription(with("kCGWindowOwnerName", 5)));

    EXPECT_EQ(WindowInfo::fromDescription(with("kCGWindowLayer", 2.5))->layer, std::nullopt);
    EXPECT_EQ(WindowInfo::fromDescription(with("kCGWindowLayer", 25.0))->layer, 25);
    EXPECT_EQ(WindowInfo::fromDescription(without("kCGWindowOwnerName"))->processName, "");
    EXPECT_EQ(WindowInfo::fromDescription(with("kCGWindowOwnerName", true))->processName, "");
    EXPECT_EQ(WindowInfo::fromDescription(withBounds("Height", 4))->frame.height(), 4);
}

TEST(WindowInfoTest, AMissingOrWrongNumberOwnerOrBoundsDropsTheWindow) {
    for (const char* key : {"kCGWindowNumber", "kCGWindowOwnerPID", "kCGWindowBounds"}) {
        EXPECT_TRUE(bothDrop(without(key))) << key;
        EXPECT_TRUE(bothDrop(with(key, "7"))) << key;
    }
    EXPECT_TRUE(bothDrop(with("kCGWindowNumber", -1)));
    EXPECT_TRUE(bothDrop(with("kCGWindowNumber", std::int64_t{1} << 32)));
    EXPECT_TRUE(bothDrop(with("kCGWindowNumber", true)));
    EXPECT_TRUE(bothDrop(with("kCGWindowOwnerPID", 42.5)));
    EXPECT_TRUE(bothDrop(with("kCGWindowOwnerPID", std::int64_t{1} << 31)));
    EXPECT_TRUE(bothDrop(withBounds("Width", "wide")));
    // A frame that is not finite could never be stored with its space.
    EXPECT_TRUE(bothDrop(withBounds("X", std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(bothDrop(withBounds("Height", std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(bothDrop(without("kCGWindowBounds")));
    EXPECT_TRUE(bothDrop(with("kCGWindowBounds", platform::PropertyArray{1, 2, 3, 4})));
    auto noHeight = description();
    noHeight["kCGWindowBounds"] = PropertyDictionary{{"X", 0}, {"Y", 0}, {"Width", 100}};
    EXPECT_TRUE(bothDrop(noHeight));
    EXPECT_FALSE(WindowInfo::fromDescription(PropertyValue(5)));
    EXPECT_EQ(WindowInfo::fromDescription(with("kCGWindowNumber", 7.0))->id, 7u);
}

TEST(WindowInfoTest, CodesAsTheStoredJson) {
    const WindowInfo full{9, -20, Rect::make(-1920, 0.5, 800, 600), 311, std::string("Notes")};
    const json encoded = full;
    EXPECT_EQ(encoded.dump(), R"({"frame":[[-1920,0.5],[800,600]],"id":9,"layer":-20,"pid":311,)"
                              R"("processName":"Notes"})");
    EXPECT_EQ(encoded.get<WindowInfo>(), full);

    const auto bare = json::parse(R"({"id": 5, "frame": [[0, 0], [100, 50]], "pid": 42,
                                      "layer": null, "extra": "ignored"})")
                          .get<WindowInfo>();
    EXPECT_EQ(bare, (WindowInfo{5, std::nullopt, Rect::make(0, 0, 100, 50), 42, std::nullopt}));
    EXPECT_EQ(json(bare).dump(), R"({"frame":[[0,0],[100,50]],"id":5,"pid":42})");

    const auto valid = json::parse(R"({"id": 5, "frame": [[0, 0], [100, 50]], "pid": 42})");
    EXPECT_TRUE(decodes(valid));
    for (const char* key : {"id", "frame", "pid"}) {
        auto missing = valid;
        missing.erase(key);
        EXPECT_FALSE(decodes(missing)) << key;
    }
    const auto changed = [&](const char* key, json value) {
        auto copy = valid;
        copy[key] = std::move(value);
        return copy;
    };
    EXPECT_FALSE(decodes(changed("id", -1)));
    EXPECT_FALSE(decodes(changed("id", "5")));
    EXPECT_FALSE(decodes(changed("id", 4294967296)));
    EXPECT_TRUE(decodes(changed("id", 5.0)));
    EXPECT_FALSE(decodes(changed("pid", 2147483648)));
    EXPECT_FALSE(decodes(changed("frame", json::parse("[[0, 0]]"))));
    EXPECT_FALSE(decodes(changed("frame", json::parse(R"([[0, 0], [1, "2"]])"))));
    EXPECT_FALSE(decodes(changed("layer", 1.5)));
    EXPECT_FALSE(decodes(changed("processName", 5)));
    EXPECT_FALSE(decodes(json::array()));
}

using WindowInfoSystemTest = DesktopTestCase;

TEST_F(WindowInfoSystemTest, AsksTheSystemForItsApplicationAndScreen) {
    desktop.addApplication(
        {501, "Safari", "com.apple.Safari", "/Applications/Safari.app", "safari"});
    desktop.addApplication({502, "Script", "", "", ""});
    const WindowInfo safari{1, std::nullopt, Rect::make(2000, 100, 400, 300), 501, "Safari"};
    EXPECT_EQ(safari.runningApplication()->processIdentifier(), 501);
    EXPECT_EQ(safari.runningApplicationBundleIdentifier(), "com.apple.Safari");
    EXPECT_EQ(safari.runningApplicationBundleURL(),
              std::filesystem::path("/Applications/Safari.app"));
    EXPECT_EQ(safari.windowScreen()->screenNumber(), 2u);

    const WindowInfo script{2, std::nullopt, Rect::make(0, 0, 400, 300), 502, "Script"};
    EXPECT_TRUE(script.runningApplication());
    EXPECT_FALSE(script.runningApplicationBundleIdentifier());
    EXPECT_FALSE(script.runningApplicationBundleURL());
    EXPECT_EQ(script.windowScreen()->screenNumber(), 1u);

    const WindowInfo gone{3, std::nullopt, Rect::make(-9000, 0, 10, 10), 99999, std::nullopt};
    EXPECT_FALSE(gone.runningApplication());
    EXPECT_FALSE(gone.runningApplicationBundleURL());
    EXPECT_EQ(gone.windowScreen(), platform::Screen::main()) << "off every screen";
    desktop.removeApplication(501);
    EXPECT_FALSE(safari.runningApplicationBundleURL()) << "asked afresh";
}

}  // namespace
}  // namespace zelvana::tools::test
