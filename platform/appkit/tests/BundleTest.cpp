#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/appkit/Bundle.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;
using testing::ScopedMainBundle;

PropertyDictionary appInfo() {
    return {{"CFBundleIdentifier", "com.example.Test"},
            {"CFBundleExecutable", "Test"},
            {"CFBundleDisplayName", "Test"},
            {"CFBundleVersion", "7"},
            {"LSUIElement", true}};
}

void touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

TEST(BundleTest, MainBundleReadsInfoAndPrefersLocalisedValues) {
    ScopedMainBundle scoped(appInfo(), PropertyDictionary{{"CFBundleDisplayName", "Prüfung"}});
    const Bundle& main = Bundle::main();

    EXPECT_EQ(main.bundlePath(), scoped.bundlePath());
    EXPECT_EQ(main.bundleIdentifier(), "com.example.Test");
    EXPECT_EQ(main.infoString("CFBundleDisplayName"), "Prüfung");
    EXPECT_EQ(*main.infoDictionary().at("CFBundleDisplayName").stringValue(), "Test");
    EXPECT_EQ(main.infoString("CFBundleVersion"), "7");
    EXPECT_EQ(main.infoString("LSUIElement"), std::nullopt);  // not text
    ASSERT_NE(main.objectForInfoDictionaryKey("LSUIElement"), nullptr);
    EXPECT_EQ(main.objectForInfoDictionaryKey("Missing"), nullptr);
    EXPECT_EQ(main.executablePath(), scoped.bundlePath() / "Contents" / "MacOS" / "Test");
    EXPECT_EQ(main.resourcePath(), scoped.resourcePath());
}

TEST(BundleTest, ScopedMainBundlesNestAndRestoreTheRealOne) {
    Bundle& main = Bundle::main();
    const fs::path real = main.bundlePath();
    {
        ScopedMainBundle outer(appInfo());
        {
            ScopedMainBundle inner({{"CFBundleIdentifier", "com.example.Inner"}}, {}, "Inner");
            EXPECT_EQ(main.bundleIdentifier(), "com.example.Inner");  // same reference
        }
        EXPECT_EQ(main.bundleIdentifier(), "com.example.Test");
        Bundle::setMainBundlePathForTesting({});
        EXPECT_EQ(main.bundlePath(), real);
    }
    // The test program is not in an .app: its folder, with no Info.
    EXPECT_EQ(main.bundlePath(), real);
    EXPECT_EQ(real, fs::read_symlink("/proc/self/exe").parent_path());
    EXPECT_TRUE(main.infoDictionary().empty());
    EXPECT_EQ(main.bundleIdentifier(), std::nullopt);
}

TEST(BundleTest, OpensFolderBundlesAndFindsResources) {
    testing::TemporaryFolders folders;
    EXPECT_FALSE(Bundle::open(folders.path("missing.bundle")));

    const fs::path packaged = folders.path("Pkg_Pkg.bundle");
    touch(packaged / "Contents" / "Resources" / "Base.lproj" / "Main.storyboard");
    touch(packaged / "Contents" / "Resources" / "icon.png");
    touch(packaged / "Contents" / "Info.plist");  // unreadable: empty Info, still a bundle
    auto bundle = Bundle::open(packaged);
    ASSERT_TRUE(bundle);
    EXPECT_TRUE(bundle->infoDictionary().empty());
    EXPECT_EQ(bundle->pathForResource("icon", "png"), packaged / "Contents/Resources/icon.png");
    EXPECT_EQ(bundle->pathForResource("Main", "storyboard"),
              packaged / "Contents/Resources/Base.lproj/Main.storyboard");
    EXPECT_EQ(bundle->pathForResource("Main", "nib"), std::nullopt);
    EXPECT_EQ(bundle->executablePath(), std::nullopt);

    const fs::path flat = folders.path("Flat.bundle");
    touch(flat / "notes.txt");
    auto flatBundle = Bundle::open(flat);
    ASSERT_TRUE(flatBundle);
    EXPECT_EQ(flatBundle->resourcePath(), flat);
    EXPECT_EQ(flatBundle->pathForResource("notes.txt", ""), flat / "notes.txt");
}

TEST(BundleTest, LocalizedStringsComeFromTheTableAndAreReadOnce) {
    ScopedMainBundle scoped(appInfo());
    const fs::path table = Bundle::main().resourcePath() / "Main.strings";
    fs::create_directories(table.parent_path());
    std::ofstream(table) << "/* a comment */\n\"Open\" = \"\\\"Öffnen\\\"\";\n"
                            "\"Two\\nLines\" = \"Zwei\\nZeilen\";\n";
    EXPECT_EQ(Bundle::main().localizedString("Open", "Main"), "\"Öffnen\"");
    EXPECT_EQ(Bundle::main().localizedString("Two\nLines", "Main"), "Zwei\nZeilen");
    EXPECT_EQ(Bundle::main().localizedString("Missing", "Main"), "Missing");
    EXPECT_EQ(Bundle::main().localizedString("Open", "NoSuchTable"), "Open");

    std::ofstream(table) << "\"Open\" = \"Changed\";\n";
    EXPECT_EQ(Bundle::main().localizedString("Open", "Main"), "\"Öffnen\"") << "kept once read";
}

TEST(BundleTest, PackageBundlesComeFromTheFirstFolderThatHasThemAndAreKept) {
    ScopedMainBundle scoped(appInfo());
    const fs::path beside = fs::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(Bundle::packageBundleFolders(),
              (std::vector<fs::path>{scoped.resourcePath(), beside, scoped.bundlePath()}));

    // Shelf is in every folder, Desk beside the program and in the main
    // bundle's folder, Attic only in the main bundle's folder.
    const std::string names[] = {"Shelf_Shelf.bundle", "Desk_Desk.bundle", "Attic_Attic.bundle"};
    touch(scoped.resourcePath() / names[0] / "Contents" / "Info.plist");
    for (const auto& name : {names[0], names[1]}) fs::create_directories(beside / name);
    for (const auto& name : names) fs::create_directories(scoped.bundlePath() / name);
    const Bundle& shelf = Bundle::packageResourceBundle("Shelf");
    const Bundle& desk = Bundle::packageResourceBundle("Desk");
    const Bundle& attic = Bundle::packageResourceBundle("Attic");
    for (const auto& name : names) fs::remove_all(beside / name);
    EXPECT_EQ(shelf.bundlePath(), scoped.resourcePath() / "Shelf_Shelf.bundle");
    EXPECT_EQ(desk.bundlePath(), beside / "Desk_Desk.bundle");
    EXPECT_EQ(attic.bundlePath(), scoped.bundlePath() / "Attic_Attic.bundle");

    fs::remove_all(scoped.resourcePath() / names[0]);
    EXPECT_EQ(&Bundle::packageResourceBundle("Shelf"), &shelf) << "kept for the process";
}

TEST(BundleDeathTest, AMissingPackageBundleStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(Bundle::packageResourceBundle("Nowhere"),
                 "unable to find bundle named Nowhere_Nowhere\n");
}

}  // namespace
}  // namespace zelvana::platform
