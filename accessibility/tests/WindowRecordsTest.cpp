#include <gtest/gtest.h>

#include "accessibility/CGWindowInfo.hpp"
#include "accessibility/WindowInfo.hpp"
#include "accessibility/WindowUtil.hpp"
#include "accessibility/tests/AccessibilityTestSupport.hpp"

namespace zelvana::accessibility::test {
namespace {

using platform::PropertyDictionary;
using platform::PropertyValue;
using platform::Rect;

PropertyDictionary completeDescription() {
    return {{"kCGWindowNumber", 42},
            {"kCGWindowLayer", 0},
            {"kCGWindowOwnerPID", 501},
            {"kCGWindowBounds",
             PropertyDictionary{{"X", 10.0}, {"Y", 20.0}, {"Width", 300.0}, {"Height", 200.0}}}};
}

struct RecordCase {
    const char* name;
    const char* key;
    std::optional<PropertyValue> value;  // none: the key is missing
};

class WindowRecordDescriptions : public ::testing::TestWithParam<RecordCase> {};

TEST_P(WindowRecordDescriptions, AMissingOrWrongKindOfValueDropsTheWindow) {
    auto description = completeDescription();
    if (GetParam().value) {
        description[GetParam().key] = *GetParam().value;
    } else {
        description.erase(GetParam().key);
    }
    EXPECT_EQ(WindowInfo::fromDescription(description), std::nullopt);
    EXPECT_EQ(CGWindowInfo::fromDescription(description, CGWindowInfo::Reading::normalOnly),
              std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Values, WindowRecordDescriptions,
    ::testing::Values(RecordCase{"NoNumber", "kCGWindowNumber", std::nullopt},
                      RecordCase{"TextNumber", "kCGWindowNumber", PropertyValue("42")},
                      RecordCase{"NegativeNumber", "kCGWindowNumber", PropertyValue(-1)},
                      RecordCase{"NoLayer", "kCGWindowLayer", std::nullopt},
                      RecordCase{"RealLayer", "kCGWindowLayer", PropertyValue(0.5)},
                      RecordCase{"NoOwner", "kCGWindowOwnerPID", std::nullopt},
                      RecordCase{"BoolOwner", "kCGWindowOwnerPID", PropertyValue(true)},
                      RecordCase{"BoundsWithoutHeight", "kCGWindowBounds",
                                 PropertyValue(PropertyDictionary{
                                     {"X", 1.0}, {"Y", 1.0}, {"Width", 50.0}})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowRecords, ACompleteDescriptionGivesBothRecords) {
    EXPECT_EQ(WindowInfo::fromDescription(completeDescription()),
              (WindowInfo{42, 0, Rect::make(10, 20, 300, 200), 501}));
    auto description = completeDescription();
    description["kCGWindowIsOnscreen"] = false;
    EXPECT_EQ(CGWindowInfo::fromDescription(description, CGWindowInfo::Reading::withOnScreen),
              (CGWindowInfo{42, 501, Rect::make(10, 20, 300, 200), false}));
    EXPECT_NE((CGWindowInfo{42, 501, Rect::make(10, 20, 300, 200), false}),
              (CGWindowInfo{42, 501, Rect::make(10, 20, 300, 200), std::nullopt}));
}

class WindowUtilTest : public AccessibilityTestCase {};

TEST_F(WindowUtilTest, ReadersKeepWhatTheirOptionsAsk) {
    const auto narrow = add(safari, Rect::make(0, 0, 40, 100));
    const auto square = add(safari, Rect::make(0, 0, 41, 41));
    const auto hidden = desktop.addWindow({0, notes, "", 0, Rect::make(0, 0, 500, 500), 2});

    std::vector<std::uint32_t> normal;
    for (const auto& window : WindowUtil::normalWindowInfos()) normal.push_back(window.id);
    EXPECT_EQ(normal, std::vector<std::uint32_t>{square});
    std::vector<std::uint32_t> onScreen;
    for (const auto& window : WindowUtil::windowInfos()) onScreen.push_back(window.id);
    EXPECT_EQ(onScreen, (std::vector<std::uint32_t>{square, narrow}));

    const auto all = WindowUtil::allWindowInfos();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].id, hidden);
    EXPECT_EQ(all[0].onScreen, std::nullopt) << "the window server omits the key off screen";
    EXPECT_EQ(all[1].onScreen, true);
}

TEST_F(WindowUtilTest, TheWindowListIsAskedOnceInAHundredMilliseconds) {
    const auto window = add(safari, Rect::make(0, 0, 300, 300));
    const int before = desktop.windowListQueryCount();
    WindowUtil::windowList();
    clock.advance(100);
    EXPECT_EQ(WindowUtil::windowList().size(), 1u);
    EXPECT_EQ(desktop.windowListQueryCount(), before + 1) << "an entry expiring now is a hit";
    clock.advance(1);
    WindowUtil::windowList();
    EXPECT_EQ(desktop.windowListQueryCount(), before + 2);

    EXPECT_EQ(WindowUtil::windowList(std::vector<std::uint32_t>{window})[0].layer, 0);
    desktop.removeWindow(window);
    EXPECT_TRUE(WindowUtil::windowList(std::vector<std::uint32_t>{window + 100}).empty());
}

TEST_F(WindowUtilTest, FlipsByTheFirstDisplaysHeightAndRefusesWithoutDisplays) {
    EXPECT_EQ(WindowUtil::flippedRect(Rect::make(10, 100, 200, 50)), Rect::make(10, 930, 200, 50));
    EXPECT_EQ(WindowUtil::flippedPoint({10, 100}), (platform::Point{10, 980}));
    desktop.resetForTesting();
    EXPECT_EQ(WindowUtil::flippedRect(Rect::make(10, 100, 200, 50)), std::nullopt);
    EXPECT_EQ(WindowUtil::flippedPoint({10, 100}), std::nullopt);
}

}  // namespace
}  // namespace zelvana::accessibility::test
