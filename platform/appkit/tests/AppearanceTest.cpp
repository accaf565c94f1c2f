#include "platform/appkit/Appearance.hpp"

#include <gtest/gtest.h>

namespace zelvana::platform {
namespace {

TEST(AppearanceTest, BestMatchPicksTheFirstNameOfTheSameFamily) {
    const std::vector<std::string> darkThenLight{"NSAppearanceNameDarkAqua",
                                                 "NSAppearanceNameAqua"};
    const auto vibrantDark = Appearance::named("NSAppearanceNameVibrantDark");
    ASSERT_TRUE(vibrantDark);
    EXPECT_EQ(vibrantDark->bestMatch(darkThenLight), "NSAppearanceNameDarkAqua");
    EXPECT_EQ(Appearance::named("NSAppearanceNameAqua")->bestMatch(darkThenLight),
              "NSAppearanceNameAqua");
    EXPECT_EQ(Appearance::named("NSAppearanceNameAccessibilityHighContrastAqua")
                  ->bestMatch({"NSAppearanceNameVibrantLight"}),
              "NSAppearanceNameVibrantLight");
    EXPECT_FALSE(vibrantDark->bestMatch({"NSAppearanceNameAqua"}));
    EXPECT_FALSE(Appearance::named("NSAppearanceNameSepia"));
}

TEST(AppearanceTest, TheApplicationLooksLightUntilToldOtherwise) {
    EXPECT_EQ(Appearance::current().name(), "NSAppearanceNameAqua");
    Appearance::setCurrent(*Appearance::named("NSAppearanceNameDarkAqua"));
    EXPECT_EQ(Appearance::current().name(), "NSAppearanceNameDarkAqua");
    Appearance::setCurrent(*Appearance::named("NSAppearanceNameAqua"));
}

}  // namespace
}  // namespace zelvana::platform
