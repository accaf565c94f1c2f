#include "Zelvana/Driver/CommandParser.hpp"

#include <gtest/gtest.h>

namespace zelvana::driver::test {
namespace {

using Kind = Command::Kind;
using platform::Modifier;

Command parsed(std::string_view line) {
    auto result = parseCommandLine(line);
    EXPECT_TRUE(std::holds_alternative<Command>(result)) << line;
    return std::holds_alternative<Command>(result) ? std::get<Command>(result) : Command{};
}

std::string refusal(std::string_view line) {
    auto result = parseCommandLine(line);
    return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
}

TEST(CommandParserTest, ChordsNameModifierKeysInOrderAndOneOtherKey) {
    const auto chord = parsed("down ctrl+opt+right").chord;
    EXPECT_EQ(chord.modifiers,
              (std::vector<ModifierKey>{{Modifier::control, 59}, {Modifier::option, 58}}));
    EXPECT_EQ(chord.key, 124);
    const struct {
        const char* name;
        std::uint16_t code;
    } keys[] = {{"a", 0},          {"z", 6},      {"0", 29},      {"9", 25},      {"space", 49},
                {"return", 36},    {"tab", 48},   {"escape", 53}, {"delete", 51}, {"left", 123},
                {"up", 126},       {"down", 125}, {"home", 115},  {"end", 119},   {"pageup", 116},
                {"pagedown", 121}, {"enter", 76}, {"f1", 122},    {"f12", 111},   {"f20", 90}};
    for (const auto& key : keys) {
        EXPECT_EQ(parsed(std::string("press ") + key.name).chord.key, key.code) << key.name;
    }
    const auto modifiers = parsed("up cmd+shift+fn+capslock").chord.modifiers;
    EXPECT_EQ(modifiers, (std::vector<ModifierKey>{{Modifier::command, 55},
                                                   {Modifier::shift, 56},
                                                   {Modifier::function, 63},
                                                   {Modifier::capsLock, 57}}));
    EXPECT_FALSE(parsed("press cmd").chord.key);
}

TEST(CommandParserTest, RefusesBadChordsWithTheirReason) {
    EXPECT_EQ(refusal("press a+b"), "\"a+b\" holds two keys that are no modifiers");
    EXPECT_EQ(refusal("press ctrl+foo"), "unknown key \"foo\" in \"ctrl+foo\"");
    EXPECT_EQ(refusal("press cmd+cmd+a"), "\"cmd\" comes twice in \"cmd+cmd+a\"");
    for (const char* line : {"press cmd+", "press +a", "press", "down a b", "press f0", "press f21",
                             "press CMD+a", "press command+a", "up ctrl++a"}) {
        EXPECT_FALSE(refusal(line).empty()) << line;
    }
}

TEST(CommandParserTest, ReadsEveryWordsArguments) {
    EXPECT_EQ(parsed("type  Hello, world ").text, "Hello, world");
    const auto swipe = parsed("swipe 3 left");
    EXPECT_EQ(swipe.kind, Kind::swipe);
    EXPECT_EQ(swipe.fingers, 3);
    EXPECT_EQ(swipe.direction, Direction::left);
    EXPECT_EQ(parsed("rest 5").fingers, 5);
    EXPECT_EQ(parsed("steer down-right").direction, Direction::downRight);
    EXPECT_EQ(parsed("lift").kind, Kind::lift);
    const auto permission = parsed("permission input-monitoring off");
    EXPECT_EQ(permission.permission, Permission::inputMonitoring);
    EXPECT_EQ(permission.toggle, Toggle::off);
    EXPECT_EQ(parsed("click 10 -20.5").points, (std::vector<platform::Point>{{10, -20.5}}));
    EXPECT_EQ(parsed("drag 1 2 3 4").points, (std::vector<platform::Point>{{1, 2}, {3, 4}}));
    EXPECT_EQ(parsed("mouse down 5 6").points, (std::vector<platform::Point>{{5, 6}}));
    EXPECT_EQ(parsed("mouse up").kind, Kind::mouseUp);
    EXPECT_EQ(parsed("menu").text, "");
    EXPECT_EQ(parsed("menu  Quit Zelvana").text, "Quit Zelvana");
    const auto set = parsed("set gridWidth  {\"a\": [1, 2]}");
    EXPECT_EQ(set.text, "gridWidth");
    EXPECT_EQ(set.value, "{\"a\": [1, 2]}");
    const auto record = parsed("record show cmd+space");
    EXPECT_EQ(record.text, "show");
    EXPECT_EQ(record.chord.key, 49);
    EXPECT_EQ(parsed("panel").kind, Kind::panel);
    const auto snapshot = parsed("snapshot out/screen.png 2");
    EXPECT_EQ(snapshot.text, "out/screen.png");
    EXPECT_EQ(snapshot.display, 2u);
    EXPECT_EQ(parsed("snapshot screen.png").display, 0u) << "the main display";
}

TEST(CommandParserTest, RefusesWrongArguments) {
    for (const char* line : {"type",
                             "swipe 3",
                             "swipe 6 left",
                             "swipe 0 left",
                             "swipe +3 left",
                             "switch 1 +2",
                             "display add 1.0",
                             "swipe 3 up-left",
                             "swipe 3 sideways",
                             "rest 1",
                             "rest",
                             "steer",
                             "steer north",
                             "lift 2",
                             "permission camera on",
                             "permission accessibility yes",
                             "move 1",
                             "move 1 2 3",
                             "click a b",
                             "click 1 nan",
                             "drag 1 2 3",
                             "mouse",
                             "mouse down 1",
                             "mouse up 1 2",
                             "set",
                             "set gridWidth",
                             "set gridWidth {4",
                             "record show",
                             "record show a+b",
                             "panel now",
                             "snapshot",
                             "snapshot screen.jpg",
                             "snapshot screen.png x",
                             "snapshot screen.png 1 2",
                             "Press a"}) {
        EXPECT_FALSE(refusal(line).empty()) << line;
    }
    EXPECT_EQ(refusal("jump 3"), "unknown command \"jump 3\"");
    EXPECT_EQ(parsed("wait 3600000").milliseconds, 3600000);
    EXPECT_EQ(refusal("wait 3600000.5"), "\"wait\" waits an hour (3600000 ms) at most");
    EXPECT_FALSE(refusal("wait 99999999999999999999").empty()) << "a wait that never ends";
}

}  // namespace
}  // namespace zelvana::driver::test
