#include "Tools/ScreenDetection.hpp"

#include <gtest/gtest.h>

#include "Tools/tests/ToolsTestSupport.hpp"

namespace zelvana::tools::test {
namespace {

using platform::Rect;
using platform::Screen;

class ScreenDetectionTest : public DesktopTestCase {
protected:
    ScreenDetectionTest() { desktop.focusDisplay(2); }

    std::optional<std::uint32_t> numberFor(const std::vector<Screen>& screens, Rect rect) const {
        const auto screen = ScreenDetection::screenForRect(screens, rect);
        return screen ? std::optional(screen->screenNumber()) : std::nullopt;
    }

    const std::vector<Screen> screens = Screen::screens();
};

TEST_F(ScreenDetectionTest, TheFirstScreenHoldingAllWinsElseTheLargestShare) {
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(numberFor(screens, Rect::make(2000, 100, 400, 300)), 2u)
        << "wholly on the second, though the first is examined first";
    EXPECT_EQ(numberFor(screens, Rect::make(100, 100, 400, 300)), 1u);

    EXPECT_EQ(numberFor(screens, Rect::make(1220, 100, 1000, 300)), 1u) << "70 % on the first";
    EXPECT_EQ(numberFor(screens, Rect::make(1620, 100, 1000, 300)), 2u) << "70 % on the second";
    const Rect halves = Rect::make(1420, 100, 1000, 300);
    EXPECT_EQ(numberFor(screens, halves), 1u) << "a tie goes to the earlier screen";
    EXPECT_EQ(numberFor({screens[1], screens[0]}, halves), 2u);
}

TEST_F(ScreenDetectionTest, WithoutOverlapOrScreensTheMainScreenIsTaken) {
    ASSERT_EQ(Screen::main()->screenNumber(), 2u);
    EXPECT_EQ(numberFor(screens, Rect::make(-5000, 100, 400, 300)), 2u);
    EXPECT_EQ(numberFor({}, Rect::make(100, 100, 400, 300)), 2u);
    EXPECT_EQ(numberFor(screens, Rect::make(100, 100, 0, 0)), 1u) << "an empty rectangle inside";

    // The system's list emptied under a list taken earlier.
    desktop.resetForTesting();
    EXPECT_EQ(numberFor(screens, Rect::make(100, 100, 400, 300)), std::nullopt);
    EXPECT_EQ(numberFor({}, Rect::make(100, 100, 400, 300)), std::nullopt);
}

TEST_F(ScreenDetectionTest, WindowServerRectanglesFlipAgainstTheFirstScreen) {
    const Screen first(1, Rect::make(0, 0, 1440, 900), Rect::make(0, 0, 1440, 876), "First");
    EXPECT_EQ(ScreenDetection::convertedToScreenCoordinates(Rect::make(10, 0, 300, 100), first),
              Rect::make(10, 800, 300, 100));
    // At the top of both displays: all of its half on the taller first one,
    // 44 % of the other half on the second, whose top is 56 points lower.
    EXPECT_EQ(numberFor({screens[1], screens[0]}, Rect::make(1820, 0, 200, 100)), 1u);
}

}  // namespace
}  // namespace zelvana::tools::test
