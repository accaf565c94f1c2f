#include "Tools/WindowUtil.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Tools/tests/ToolsTestSupport.hpp"

namespace zelvana::tools::test {
namespace {

using platform::Rect;
using Numbers = std::vector<std::uint32_t>;

Numbers numbers(const std::vector<WindowInfo>& windows) {
    Numbers result;
    for (const auto& window : windows) result.push_back(window.id);
    return result;
}

class WindowUtilTest : public DesktopTestCase {
protected:
    WindowUtilTest() {
        desktop.addApplication(
            {501, "Safari", "com.apple.Safari", "/Applications/Safari.app", "safari"});
    }

    std::uint32_t add(int pid, int layer, Rect bounds, platform::SpaceID space = 0) {
        return desktop.addWindow({0, pid, "", layer, bounds, space});
    }
    int queries() const { return desktop.windowListQueryCount(); }
};

TEST_F(WindowUtilTest, TheInfoListKeepsLargeLayerZeroWindowsWithAnOwnerName) {
    add(501, -2147483624, Rect::make(0, 0, 1920, 1080));  // the wallpaper
    add(501, 0, Rect::make(0, 0, 800, 600), 2);           // on a space not shown
    const auto kept = add(501, 0, Rect::make(100, 200, 41, 41));
    const auto narrow = add(501, 0, Rect::make(100, 200, 40, 100));
    const auto flat = add(501, 0, Rect::make(100, 200, 100, 40));
    const auto nameless = add(777, 0, Rect::make(0, 0, 300, 300));
    const auto floating = add(501, 3, Rect::make(0, 0, 500, 500));

    const auto info = WindowUtil::windowInfoList();
    ASSERT_EQ(numbers(info), Numbers{kept});
    EXPECT_EQ(info[0], (WindowInfo{kept, std::nullopt, Rect::make(100, 200, 41, 41), 501,
                                   std::string("Safari")}));
    EXPECT_FALSE(nlohmann::json(info[0]).contains("layer"));
    EXPECT_EQ(WindowUtil::onScreenWindowList(), info);

    const auto all = WindowUtil::windowList();
    ASSERT_EQ(numbers(all), (Numbers{floating, nameless, flat, narrow, kept}))
        << "front to back, desktop elements and hidden spaces left out";
    EXPECT_EQ(all[0].layer, 3);
    EXPECT_EQ(all[1].processName, "");
    EXPECT_EQ(all[4].layer, 0);
}

TEST_F(WindowUtilTest, EachListIsReusedForAHundredMillisecondsFromOneQuery) {
    const auto first = add(501, 0, Rect::make(0, 0, 500, 500));
    const int before = queries();
    EXPECT_EQ(numbers(WindowUtil::windowInfoList()), Numbers{first});
    EXPECT_EQ(queries(), before + 1);

    const auto second = add(501, 0, Rect::make(0, 0, 600, 600));
    clock.advance(100);
    EXPECT_EQ(numbers(WindowUtil::windowInfoList()), Numbers{first}) << "a hit at expiry";
    EXPECT_EQ(queries(), before + 1);
    EXPECT_EQ(numbers(WindowUtil::windowList()), (Numbers{second, first})) << "its own cache";
    EXPECT_EQ(queries(), before + 2);

    clock.advance(1);
    EXPECT_EQ(numbers(WindowUtil::windowInfoList()), (Numbers{second, first}));
    EXPECT_EQ(queries(), before + 3);
    EXPECT_EQ(numbers(WindowUtil::windowList()), (Numbers{second, first}));
    EXPECT_EQ(queries(), before + 3) << "stored 1 ms ago: still fresh";
}

TEST_F(WindowUtilTest, EveryArgumentIsAKeyOfItsOwn) {
    const auto a = add(501, 0, Rect::make(0, 0, 500, 500));
    const auto b = add(501, 0, Rect::make(0, 0, 600, 600));
    const int before = queries();

    EXPECT_TRUE(WindowUtil::windowInfoList(Numbers{}).empty());
    EXPECT_EQ(queries(), before + 1) << "asks for no windows";
    EXPECT_EQ(WindowUtil::windowInfoList().size(), 2u) << "no list is another key";
    EXPECT_EQ(queries(), before + 2);

    EXPECT_EQ(numbers(WindowUtil::windowInfoList(Numbers{a, b})), (Numbers{a, b}));
    EXPECT_EQ(numbers(WindowUtil::windowInfoList(Numbers{b, a})), (Numbers{b, a}));
    EXPECT_EQ(queries(), before + 4);
    WindowUtil::windowInfoList(Numbers{a, b});
    EXPECT_EQ(queries(), before + 4);
    EXPECT_TRUE(WindowUtil::windowInfoList(Numbers{9999}).empty());
}

}  // namespace
}  // namespace zelvana::tools::test
