#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "platform/appkit/Color.hpp"

namespace zelvana::platform {
namespace {

TEST(ColorTest, HueSaturationAndBrightnessConvertBothWays) {
    struct Case {
        double h, s, b;
        double red, green, blue;
    };
    for (const Case& c :
         {Case{0, 1, 1, 1, 0, 0}, Case{1.0 / 3, 1, 1, 0, 1, 0}, Case{2.0 / 3, 1, 0.5, 0, 0, 0.5},
          Case{0.5, 0.5, 1, 0.5, 1, 1}, Case{1, 1, 1, 1, 0, 0}}) {
        const Color color = Color::hsb(c.h, c.s, c.b, 0.25);
        EXPECT_NEAR(color.red(), c.red, 1e-9) << c.h;
        EXPECT_NEAR(color.green(), c.green, 1e-9) << c.h;
        EXPECT_NEAR(color.blue(), c.blue, 1e-9) << c.h;
        EXPECT_EQ(color.alpha(), 0.25);
        EXPECT_NEAR(color.hue(), c.h == 1 ? 0 : c.h, 1e-9);
        EXPECT_NEAR(color.saturation(), c.s, 1e-9);
        EXPECT_NEAR(color.brightness(), c.b, 1e-9);
    }
    EXPECT_EQ(Color::white(0.5, 1).saturation(), 0);
    EXPECT_EQ(Color::hsb(2, -1, std::nan(""), 7), Color::rgb(0, 0, 0, 1));
    EXPECT_EQ(Color::systemIndigoColor().withAlpha(0.2).alpha(), 0.2);
    EXPECT_TRUE(Color::systemIndigoColor().withAlpha(0.2).name().empty());
}

TEST(ColorTest, ColourTemperatureFollowsTheBlackBodyFit) {
    const auto bytes = [](const Color& c) {
        return std::array{std::lround(c.red() * 255), std::lround(c.green() * 255),
                          std::lround(c.blue() * 255)};
    };
    EXPECT_EQ(bytes(Color::colorTemperature(6600)), (std::array{255L, 255L, 255L}));
    EXPECT_EQ(bytes(Color::colorTemperature(1900)), (std::array{255L, 131L, 0L}));
    EXPECT_EQ(bytes(Color::colorTemperature(2700)), (std::array{255L, 166L, 87L}));
    EXPECT_EQ(bytes(Color::colorTemperature(10000)), (std::array{201L, 218L, 255L}));
    EXPECT_EQ(Color::colorTemperature(0), Color::clear());
    EXPECT_EQ(Color::colorTemperature(std::nan("")), Color::clear());
}

}  // namespace
}  // namespace zelvana::platform
