#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/appkit/Screen.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/desktop/tests/DesktopFixture.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/simulator/DesktopFile.hpp"
#include "platform/system/Permissions.hpp"

namespace zelvana::platform {
namespace {

using DesktopFileTest = DesktopFixture;

void write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

TEST_F(DesktopFileTest, SavedDesktopLoadsBackTheSame) {
    desktop.addApplication(
        {501, "Safari", "com.apple.Safari", "/Applications/Safari.app", "safari"});
    desktop.addApplication({777, "Notes", "com.apple.Notes", "/Applications/Notes.app", "notes"});
    const auto back = desktop.addWindow({0, 777, "Shopping", 0, Rect::make(2000, 40, 500, 400), 5});
    const auto front =
        desktop.addWindow({0, 501, "Docs", 0, Rect::make(10, 30, 900, 700), 2, false, false});
    switchTo(3);
    desktop.focusDisplay(2);
    const std::string before = desktop.jsonText();
    EXPECT_EQ(before, nlohmann::json::parse(before).dump(2) + "\n") << "members in key order";
    const auto path = folders.path("desktop.json");
    ASSERT_TRUE(desktop.save(path));

    desktop.resetForTesting();
    EXPECT_TRUE(Screen::screens().empty());
    std::string error;
    ASSERT_TRUE(desktop.load(path, &error)) << error;
    EXPECT_EQ(desktop.path(), path);
    EXPECT_EQ(desktop.jsonText(), before);
    EXPECT_EQ(desktop.shownSpace(1), 3u);
    EXPECT_EQ(Screen::main()->screenNumber(), 2u);
    EXPECT_EQ(desktop.display(2)->serial, 9u);
    EXPECT_EQ(desktop.window(front)->visible, false);
    EXPECT_EQ(desktop.window(back)->space, 5u);
    EXPECT_EQ(*WindowList::copyWindowInfo(WindowListOptions{}, 0)
                   ->front()
                   .find(WindowList::windowNumberKey)
                   ->integerValue(),
              front);
    EXPECT_EQ(desktop.application(777)->iconName, "notes");
    EXPECT_EQ(desktop.addSpace(1), 6u);  // numbering goes on after the file's spaces
}

TEST_F(DesktopFileTest, ALoadedDesktopForgetsDisplaysRemovedBeforeIt) {
    const auto studio = *desktop.display(2);
    ASSERT_TRUE(desktop.removeDisplay(2));  // spaces 4 and 5 go to display 1
    ASSERT_TRUE(desktop.readJsonText(R"({"displays": [{"number": 1, "frame": [0, 0, 800, 600],
                                                      "spaces": [1]}]})"));
    for (int i = 0; i < 4; ++i) desktop.addSpace(1);  // 2 to 5, numbered afresh
    auto returning = studio;
    returning.spaces.clear();
    ASSERT_TRUE(desktop.addDisplay(returning));
    const auto returned = *desktop.display(2);
    for (SpaceID space : returned.spaces) {
        EXPECT_EQ(desktop.displayOfSpace(space), 2u) << "space " << space << " is on two displays";
    }
}

TEST_F(DesktopFileTest, ShortFilesTakeDefaultsAndBadOnesChangeNothing) {
    const auto path = folders.path("short.json");
    write(path, R"({"displays": [{"number": 4, "frame": [0, 0, 800, 600]}],
                    "applications": [{"pid": 9, "name": "Mail"}],
                    "windows": [{"pid": 9, "bounds": [0, 0, 200, 100]}]})");
    ASSERT_TRUE(desktop.load(path));
    const auto display = *desktop.display(4);
    EXPECT_EQ(display.spaces.size(), 1u);
    EXPECT_EQ(display.shownSpace, display.spaces.front());
    EXPECT_EQ(display.visibleFrame, Rect::make(0, 0, 800, 576));
    EXPECT_EQ(desktop.application(9)->bundleURL, "/Applications/Mail.app");
    ASSERT_EQ(WindowList::copyWindowInfo(WindowListOption::onScreenOnly, 0)->size(), 1u);

    const std::string good = desktop.jsonText();
    const std::string bad[] = {
        "not json",
        R"({"displays": [{"number": 1}]})",
        R"({"displays": [{"number": 1, "frame": [0, 0]}]})",
        R"({"displays": [{"number": 1, "frame": [0, 0, 1e300, 900]}]})",
        R"({"displays": [{"number": 1, "frame": [0, 0, -800, 600]}]})",
        R"({"displays": [{"number": 1, "frame": [0, 0, 800, 600],
                          "visibleFrame": [0, 0, 0, 600]}]})",
        R"({"displays": [{"number": 1, "frame": [0, 0, 99, 99], "spaces": [3]},
                         {"number": 2, "frame": [99, 0, 99, 99], "spaces": [3]}]})",
        // As tall as the menu bar; one point into its neighbour (the edges that read are below).
        R"({"displays": [{"number": 1, "frame": [0, 0, 8, 24]}]})",
        R"({"displays": [{"number": 1, "frame": [0, 0, 8, 25]},
                         {"number": 2, "frame": [7, 0, 8, 25]}]})",
        R"({"displays": [{"number": 1, "frame": [0, 0, 99, 99]}], "applications": [],
            "windows": [{"pid": 1, "bounds": [0, 0, 1, 1]}]})",
        R"({"displays": [{"number": 1, "frame": [0, 0, 99, 99]}],
            "applications": [{"pid": 1, "name": "A"}],
            "windows": [{"pid": 1, "bounds": [0, 0, 1, 1], "space": 12}]})",
    };
    for (const auto& text : bad) {
        write(path, text);
        std::string error;
        EXPECT_FALSE(desktop.load(path, &error)) << text;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(desktop.load(folders.path("missing.json")));
    EXPECT_EQ(desktop.jsonText(), good);
}

TEST_F(DesktopFileTest, ADisplayWithoutSpacesInTheFileWritesBackAsOneThatReads) {
    std::string error;
    const auto file = DesktopFile::fromJsonText(
        R"({"displays": [{"number": 1, "frame": [0, 0, 800, 600], "spaces": [1]},
                         {"number": 2, "frame": [800, 0, 800, 600]}]})",
        &error);
    ASSERT_TRUE(file) << error;
    const auto reread = DesktopFile::fromJsonText(file->toJsonText(), &error);
    ASSERT_TRUE(reread) << error;
    EXPECT_TRUE(reread->displays[1].spaces.empty());
}

TEST_F(DesktopFileTest, ThePersonsPermissionSwitchesLoadAndSaveWithTheDesktop) {
    const auto path = folders.path("permissions.json");
    const std::string displays = R"("displays": [{"number": 1, "frame": [0, 0, 800, 600]}])";
    write(path, "{" + displays + R"(, "permissions": {"accessibility": false}})");
    ASSERT_TRUE(desktop.load(path));
    EXPECT_FALSE(Permissions::isAccessibilityTrusted());
    EXPECT_EQ(Permissions::inputMonitoringAccess(), Permissions::Access::granted);
    EXPECT_NE(desktop.jsonText().find(R"("accessibility": false)"), std::string::npos);

    write(path, "{" + displays + R"(, "permissions": {"inputMonitoring": "no"}})");
    EXPECT_FALSE(desktop.load(path)) << "a switch is true or false";
    write(path, "{" + displays + "}");
    ASSERT_TRUE(desktop.load(path));
    EXPECT_TRUE(Permissions::isAccessibilityTrusted()) << "both on when the file says nothing";
}

TEST_F(DesktopFileTest, TheSystemsShortcutsComeFromTheFileElseAreAFreshSystems) {
    auto& system = SymbolicHotKeys::shared();
    const std::string displays = R"("displays": [{"number": 1, "frame": [0, 0, 800, 600]}])";
    const std::string own = R"("systemShortcuts": [{"keyCode": 18, "carbonModifiers": 4096},
        {"keyCode": 49, "carbonModifiers": 256, "enabled": false}])";
    ASSERT_TRUE(desktop.readJsonText("{" + displays + ", " + own + "}"));
    EXPECT_TRUE(system.takes(18, controlKey));
    EXPECT_FALSE(system.takes(49, cmdKey)) << "switched off in the file";
    const std::string saved = desktop.jsonText();
    ASSERT_TRUE(desktop.readJsonText(saved));
    EXPECT_EQ(desktop.jsonText(), saved);

    for (const char* member : {R"({"keyCode": "18", "carbonModifiers": 0})", R"({"keyCode": 18})",
                               R"({"keyCode": 70000, "carbonModifiers": 0})"}) {
        std::string error;
        const auto text = "{" + displays + R"(, "systemShortcuts": [)" + member + "]}";
        EXPECT_FALSE(desktop.readJsonText(text, &error)) << member;
        EXPECT_NE(error.find("systemShortcuts[0]"), std::string::npos) << error;
    }
    EXPECT_TRUE(system.takes(18, controlKey)) << "a refused file changes nothing";

    ASSERT_TRUE(desktop.readJsonText("{" + displays + "}"));
    EXPECT_TRUE(system.takes(49, cmdKey));
    EXPECT_FALSE(system.takes(18, controlKey));
    system.resetForTesting();
}

TEST_F(DesktopFileTest, TheKeyboardLayoutComesFromTheFileAndSavesWithIt) {
    const std::string displays = R"("displays": [{"number": 1, "frame": [0, 0, 800, 600]}])";
    ASSERT_TRUE(desktop.readJsonText("{" + displays + R"(, "keyboardLayout": "German"})"));
    EXPECT_EQ(KeyboardLayout::currentASCIICapable(), &KeyboardLayout::german());
    EXPECT_NE(desktop.jsonText().find(R"("keyboardLayout": "German")"), std::string::npos);
    ASSERT_TRUE(desktop.readJsonText("{" + displays + "}"));
    EXPECT_EQ(KeyboardLayout::currentASCIICapable(), &KeyboardLayout::us()) << "when absent";
}

TEST_F(DesktopFileTest, LaunchLoadsTheGivenFileElseTheOneSavedAtTermination) {
    std::string error;
    EXPECT_FALSE(desktop.loadAtLaunch(std::nullopt, &error));  // nothing saved yet
    EXPECT_TRUE(error.empty());

    switchTo(2);
    desktop.applicationWillTerminate();
    desktop.resetForTesting();
    ASSERT_TRUE(desktop.loadAtLaunch(std::nullopt));
    EXPECT_EQ(desktop.shownSpace(1), 2u);

    const auto given = folders.path("given.json");
    write(given, R"({"displays": [{"number": 5, "frame": [0, 0, 640, 480]}]})");
    ASSERT_TRUE(desktop.loadAtLaunch(given));
    EXPECT_EQ(Screen::screens().front().screenNumber(), 5u);
    EXPECT_FALSE(desktop.loadAtLaunch(folders.path("absent.json"), &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(DesktopFileTest, TheExampleDesktopLoads) {
    const auto example = std::filesystem::path(ZELVANA_SOURCE_DIR) / "examples" / "desktop.json";
    std::string error;
    ASSERT_TRUE(desktop.load(example, &error)) << error;
    EXPECT_EQ(Screen::screens().size(), 2u);
    EXPECT_EQ(Screen::screens().front().frame().origin, (Point{0, 0}));
    EXPECT_GE(desktop.applications().size(), 3u);
}

// The broken files themselves are refused by the program's own test; here
// the edges that still read.
TEST_F(DesktopFileTest, TheLargestNumbersAndTouchingDisplaysRead) {
    const std::string display = R"({"number": 4294967295, "frame": [0, 0, 8, 25]})";
    EXPECT_TRUE(desktop.readJsonText(R"({"displays": [)" + display + R"(],
        "applications": [{"pid": 1, "name": "A"}],
        "windows": [{"number": 2147483647, "layer": -2147483648, "pid": 1,
                     "bounds": [-10000000, 10000000, 0, 10000000]}]})"));
    EXPECT_TRUE(desktop.readJsonText(R"({"displays": [)" + display +
                                     R"(, {"number": 2, "frame": [8, 0, 8, 25]}]})"))
        << "displays that only touch";
    std::string error;
    EXPECT_FALSE(desktop.readJsonText(
        R"({"displays": [)" + display + R"(], "windows": [{"number": 2147483648}]})", &error));
    EXPECT_EQ(error, "windows[0].number is not a whole number from 0 to 2147483647");
}

}  // namespace
}  // namespace zelvana::platform
