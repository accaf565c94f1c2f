#include "GridPanel/DarkAppearance.hpp"

#include <gtest/gtest.h>

#include "platform/foundation/UserDefaults.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::gridpanel {
namespace {

TEST(DarkAppearanceTest, DarkAppearancesAreTheDarkAquaFamily) {
    EXPECT_TRUE(isDarkAppearance(*platform::Appearance::named("NSAppearanceNameDarkAqua")));
    EXPECT_TRUE(isDarkAppearance(*platform::Appearance::named("NSAppearanceNameVibrantDark")));
    EXPECT_FALSE(isDarkAppearance(*platform::Appearance::named("NSAppearanceNameAqua")));
}

TEST(DarkAppearanceTest, SystemIsDarkWhenTheInterfaceStyleSaysSo) {
    platform::testing::TemporaryFolders folders;
    platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana.tests");
    EXPECT_FALSE(isSystemDark());
    auto global = platform::UserDefaults::globalDomain();
    global.set("AppleInterfaceStyle", platform::PropertyValue(std::string("Dark")));
    platform::UserDefaults::standard().reloadFromDisk();
    EXPECT_TRUE(isSystemDark());
    global.set("AppleInterfaceStyle", platform::PropertyValue(std::int64_t{1}));
    platform::UserDefaults::standard().reloadFromDisk();
    EXPECT_FALSE(isSystemDark()) << "only a text names a style";
}

}  // namespace
}  // namespace zelvana::gridpanel
