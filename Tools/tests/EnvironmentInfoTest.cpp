#include "Tools/EnvironmentInfo.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "Tools/FileUtil.hpp"
#include "Tools/MacModel.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/system/IORegistry.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::tools {
namespace {

namespace fs = std::filesystem;
using platform::Appearance;
using platform::PropertyDictionary;
using platform::PropertyValue;

// A faked system: fresh defaults, a known system version and a model of our choosing.
class EnvironmentTest : public ::testing::Test {
protected:
    EnvironmentTest() {
        platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana.tests");
        platform::ProcessInfo::shared().setOperatingSystemVersionStringForTesting(
            "Version 14.4 (Build 23E214)");
        setModel(PropertyValue(platform::Data{'M', 'a', 'c', 'B', 'o', 'o', 'k', 'P', 'r', 'o', '1',
                                              '8', ',', '3', '\0'}));
    }
    ~EnvironmentTest() override {
        platform::IORegistry::resetForTesting();
        platform::ProcessInfo::shared().setOperatingSystemVersionStringForTesting(std::nullopt);
        Appearance::setCurrent(*Appearance::named(Appearance::aqua));
        platform::UserDefaults::setStandardSuiteName(
            platform::UserDefaults::defaultStandardSuiteName);
    }
    static void setModel(std::optional<PropertyValue> model) {
        platform::IORegistryEntry expert{"IOPlatformExpertDevice", {}};
        if (model) expert.properties["model"] = *model;
        platform::IORegistry::setEntryForTesting("IOPlatformExpertDevice", expert);
    }

    platform::testing::TemporaryFolders folders;
};

TEST_F(EnvironmentTest, DarkModeFollowsTheInterfaceStyleAndTheAppearance) {
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_FALSE(EnvironmentInfo::systemIsDarkMode());
    defaults.set("AppleInterfaceStyle", PropertyValue("Dark"));
    EXPECT_TRUE(EnvironmentInfo::systemIsDarkMode());
    defaults.set("AppleInterfaceStyle", PropertyValue("Light"));
    EXPECT_FALSE(EnvironmentInfo::systemIsDarkMode());
    defaults.set("AppleInterfaceStyle", PropertyValue(std::int64_t{1}));
    EXPECT_FALSE(EnvironmentInfo::systemIsDarkMode());

    EXPECT_FALSE(EnvironmentInfo::isDarkMode(platform::Application::shared()));
    Appearance::setCurrent(*Appearance::named(Appearance::vibrantDark));
    EXPECT_TRUE(EnvironmentInfo::isDarkMode(platform::Application::shared()));
    EXPECT_FALSE(EnvironmentInfo::isDark(*Appearance::named(Appearance::vibrantLight)));
}

TEST_F(EnvironmentTest, TheDescriptionHasNameVersionSystemAndModel) {
    platform::testing::ScopedMainBundle bundle(PropertyDictionary{
        {"CFBundleName", "Zelvana"},
        {"CFBundleShortVersionString", "1.0.0"},
        {"CFBundleVersion", "7"},
    });
    EXPECT_EQ(EnvironmentInfo::environmentDescription(),
              "Zelvana v1.0.0 (7)\nmacOS: Version 14.4 (Build 23E214)\nModel: MacBookPro18,3");
    EXPECT_TRUE(MacModel::isLaptop());
}

TEST_F(EnvironmentTest, MissingNameVersionsOrModelAreLeftOutNotForced) {
    platform::testing::ScopedMainBundle bundle(PropertyDictionary{});
    setModel(std::nullopt);
    EXPECT_EQ(EnvironmentInfo::environmentDescription(),
              "v ()\nmacOS: Version 14.4 (Build 23E214)");
    EXPECT_FALSE(MacModel::isLaptop());
}

TEST_F(EnvironmentTest, OnlyDataOfUTF8TextMakesAModel) {
    const struct {
        std::optional<PropertyValue> value;
        std::optional<std::string> expected;
    } cases[] = {
        {PropertyValue(platform::Data{'M', 'a', 'c', '1', '4', ',', '3', '\0', '\0'}), "Mac14,3"},
        {PropertyValue(platform::Data{'\0'}), std::nullopt},
        {PropertyValue(platform::Data{}), std::nullopt},
        {PropertyValue(platform::Data{0xff, 'M'}), std::nullopt},
        {PropertyValue("MacBookAir10,1"), std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const auto& each : cases) {
        setModel(each.value);
        EXPECT_EQ(MacModel::modelIdentifier(), each.expected);
    }
    platform::IORegistry::setEntryForTesting("IOPlatformExpertDevice", std::nullopt);
    EXPECT_FALSE(MacModel::modelIdentifier());
}

TEST_F(EnvironmentTest, TheApplicationFolderIsNamedAfterTheBundleAndMade) {
    platform::testing::ScopedMainBundle bundle(PropertyDictionary{{"CFBundleName", "Zelvana"}});
    EXPECT_EQ(FileUtil::applicationSupportDirectory(), folders.data());
    const auto result = FileUtil::applicationFolder();
    ASSERT_TRUE(std::holds_alternative<std::optional<fs::path>>(result));
    EXPECT_EQ(std::get<std::optional<fs::path>>(result), folders.data() / "Zelvana");
    EXPECT_TRUE(fs::is_directory(folders.data() / "Zelvana"));

    std::ofstream(folders.data() / "Blocked") << "a file";
    platform::testing::ScopedMainBundle blocked(PropertyDictionary{{"CFBundleName", "Blocked"}});
    EXPECT_TRUE(std::holds_alternative<FileSystemError>(FileUtil::applicationFolder()));
    platform::testing::ScopedMainBundle unnamed(PropertyDictionary{});
    EXPECT_EQ(std::get<std::optional<fs::path>>(FileUtil::applicationFolder()), std::nullopt);
}

TEST_F(EnvironmentTest, AnApplicationIsNamedByItsBundleElseItsFile) {
    const auto install = [&](const std::string& file, PropertyDictionary info) {
        const fs::path app = folders.home() / "Applications" / file;
        fs::create_directories(app / "Contents");
        platform::PropertyListSerialization::writeXmlFile(app / "Contents/Info.plist",
                                                          PropertyValue(std::move(info)));
    };
    install("Notes.app", {{"CFBundleIdentifier", "com.example.notes"}, {"CFBundleName", "Notes"}});
    install("Paint.app.app", {{"CFBundleIdentifier", "com.example.paint"}});
    EXPECT_EQ(FileUtil::appDisplayName("com.example.notes"), "Notes");
    EXPECT_EQ(FileUtil::appDisplayName("com.example.paint"), "Paint");
    EXPECT_EQ(FileUtil::appDisplayName("com.example.missing"), std::nullopt);
}

}  // namespace
}  // namespace zelvana::tools
