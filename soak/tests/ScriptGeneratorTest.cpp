#include "soak/ScriptGenerator.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <variant>

#include "Zelvana/Driver/CommandInput.hpp"

namespace zelvana::soak {
namespace {

bool holds(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.starts_with(start); });
}

TEST(ScriptGeneratorTest, TheSameSeedGivesTheSameScript) {
    ScriptGenerator first(7, "/p");
    ScriptGenerator again(7, "/p");
    ScriptGenerator other(8, "/p");
    const auto lines = first.lines(300);
    EXPECT_EQ(lines, again.lines(300));
    EXPECT_NE(lines, other.lines(300));
    EXPECT_EQ(first.totalWait(), again.totalWait());
}

TEST(ScriptGeneratorTest, EveryLineIsACommandAndTheWaitsAddUp) {
    ScriptGenerator generator(22, "/p");
    const auto lines = generator.lines(2000);
    ASSERT_EQ(lines.size(), 2000u);
    EXPECT_EQ(lines.front(), "wait 1500");
    double waited = 0;
    for (const auto& line : lines) {
        const auto parsed = driver::CommandInput::parseLine(line);
        const auto* command = std::get_if<driver::Command>(&parsed);
        ASSERT_NE(command, nullptr) << line;
        if (command->kind == driver::Command::Kind::wait) waited += command->milliseconds;
        if (command->kind == driver::Command::Kind::swipe) waited += 200;
        if (command->kind == driver::Command::Kind::rest) waited += 200;
    }
    EXPECT_EQ(generator.totalWait(), waited);
}

TEST(ScriptGeneratorTest, ALongScriptUsesEveryMenuItemSettingAndWord) {
    const auto lines = ScriptGenerator(22, "/p").lines(20000);
    for (const char* start : {"menu Show Zelvana",
                              "menu Settings…",
                              "menu About",
                              "menu Advanced > Clear All Spaces",
                              "menu Advanced > Show Space Anchor Windows",
                              "menu 3",
                              "set repetitionMode ",
                              "set gesture ",
                              "set gridWidth ",
                              "set menuBarSpaceNumber ",
                              "set launchOnLogin ",
                              "set hideMenuBarIcon ",
                              "set arrowFlags ",
                              "set autoRestartOnWake ",
                              "set relaunchOpensMenu ",
                              "set spaceSizeFactor ",
                              "set anchorCountCap ",
                              "set anchorVisibility ",
                              "set restartOnWakeDelay ",
                              "type ",
                              "record show ",
                              "snapshot /p/",
                              "panel",
                              "wake",
                              "display add ",
                              "permission "}) {
        EXPECT_TRUE(holds(lines, start)) << start;
    }
}

// The status menu opened for a glance is walked, never chosen from: Return,
// the space bar or Enter could pick "Quit Zelvana" and end the run early.
TEST(ScriptGeneratorTest, TheArrowsWalkTheGlancedAtMenuUntilEscapeClosesIt) {
    const auto lines = ScriptGenerator(22, "/p").lines(20000);
    int arrows = 0;
    for (auto line = lines.begin(); line != lines.end(); ++line) {
        if (*line != "menu") continue;
        const auto escape = std::find(line, lines.end(), "press escape");
        if (escape == lines.end()) break;  // the ending's menu
        for (; line != escape; ++line) {
            if (*line == "press up" || *line == "press down") {
                ++arrows;
            } else {
                EXPECT_FALSE(line->starts_with("press ") || line->starts_with("click ")) << *line;
            }
        }
    }
    EXPECT_GT(arrows, 0);
}

// The checks of the stored grid and of memory rely on these.
TEST(ScriptGeneratorTest, ClearingAndPicturesComeInTheFirstHalfEachClearingMarked) {
    const auto lines = ScriptGenerator(22, "/p").lines(20000);
    // A group begun in the first half may end just after it.
    const std::size_t half = lines.size() / 2 + 3;
    int clearings = 0;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (lines[index].starts_with("snapshot ")) {
            EXPECT_LT(index, half);
        }
        if (lines[index] != "menu Advanced > Clear All Spaces") continue;
        ++clearings;
        EXPECT_LT(index, half);
        EXPECT_EQ(lines[index + 2], "snapshot /p/cleared.png");
    }
    EXPECT_GT(clearings, 0);
}

// A wake while the program restarts on wake would end the run in a relaunch.
TEST(ScriptGeneratorTest, RestartOnWakeGoesOffAgainAtOnce) {
    const auto lines = ScriptGenerator(5, "/p").lines(20000);
    for (std::size_t index = 0; index + 1 < lines.size(); ++index) {
        if (lines[index] == "set autoRestartOnWake true") {
            EXPECT_EQ(lines[index + 1], "set autoRestartOnWake false");
        }
    }
}

TEST(ScriptGeneratorTest, ScriptsEndWithTheMenuOpenInEveryWayARunEnds) {
    std::set<std::string> endings;
    for (std::uint32_t seed = 1; seed <= 16; ++seed) {
        const auto lines = ScriptGenerator(seed, "/p").lines(400);
        ASSERT_EQ(lines.size(), 400u);
        const auto menu = std::find(lines.end() - 3, lines.end(), "menu");
        ASSERT_NE(menu, lines.end()) << "seed " << seed;
        EXPECT_EQ(*(menu - 1) == "down opt" ? *(menu - 2) : *(menu - 1),
                  "set hideMenuBarIcon false");
        endings.insert(lines.back());
    }
    EXPECT_EQ(endings,
              (std::set<std::string>{"quit", "power-off", "menu Quit Zelvana", "wait 100"}));
}

}  // namespace
}  // namespace zelvana::soak
