#include "Zelvana/Driver/CommandInput.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "Zelvana/Driver/DesktopReport.hpp"
#include "Zelvana/tests/ZelvanaTestSupport.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/simulator/Desktop.hpp"

namespace zelvana::driver::test {
namespace {

using platform::PropertyValue;

class CommandInputTest : public core::test::SettingsFixture {
protected:
    std::vector<std::string> printed;
    std::vector<std::string> errors;
    std::vector<double> quitTimes;
    platform::TimeInterval started = clock.uptime();
    CommandInput input{[this] { quitTimes.push_back(clock.uptime() - started); },
                       [this](const std::string& line) { printed.push_back(line); },
                       [this](const std::string& line) { errors.push_back(line); }};
};

bool isRefusal(const CommandInput::Line& line) {
    return std::holds_alternative<std::string>(line);
}

TEST_F(CommandInputTest, ParsesWaitAndQuitAndRefusesTheRest) {
    using Kind = Command::Kind;
    EXPECT_EQ(std::get<Command>(CommandInput::parseLine("quit")), (Command{Kind::quit, 0}));
    EXPECT_EQ(std::get<Command>(CommandInput::parseLine("  quit \r")), (Command{Kind::quit, 0}));
    EXPECT_EQ(std::get<Command>(CommandInput::parseLine("wait 250")), (Command{Kind::wait, 250}));
    EXPECT_EQ(std::get<Command>(CommandInput::parseLine("wait\t0.5")), (Command{Kind::wait, 0.5}));
    for (const char* nothing : {"", "   ", "# a comment", "  #quit"}) {
        EXPECT_TRUE(std::holds_alternative<std::monostate>(CommandInput::parseLine(nothing)))
            << nothing;
    }
    for (const char* refused :
         {"wait", "wait -5", "wait abc", "wait 5 6", "waiting 5", "jump", "quit now", "QUIT"}) {
        EXPECT_TRUE(isRefusal(CommandInput::parseLine(refused))) << refused;
    }
}

TEST_F(CommandInputTest, AScriptRunsInOrderAndSkipsRefusedLines) {
    input.loadScriptText("wait 500\n# pause\n\nhop\nwait 250\nquit\nwait 10\n");
    EXPECT_TRUE(printed.empty());
    EXPECT_EQ(errors, std::vector<std::string>{"script line 4: unknown command \"hop\""});
    EXPECT_TRUE(recorder->hasWarningContaining("unknown command \"hop\""));
    EXPECT_EQ(input.script().size(), 4U);

    input.start(CommandInput::Terminal::ignore);
    clock.advance(749);
    EXPECT_TRUE(quitTimes.empty());
    clock.advance(1);
    ASSERT_EQ(quitTimes.size(), 1U);
    EXPECT_DOUBLE_EQ(quitTimes[0], 0.75);
    clock.advance(5000);
    EXPECT_EQ(quitTimes.size(), 1U) << "nothing runs after quit";
}

TEST_F(CommandInputTest, TheEndOfAScriptQuits) {
    input.loadScriptText("wait 100\nwait 100");
    input.start(CommandInput::Terminal::ignore);
    clock.advance(200);
    ASSERT_EQ(quitTimes.size(), 1U);
    EXPECT_DOUBLE_EQ(quitTimes[0], 0.2);
}

TEST_F(CommandInputTest, WithoutScriptOrTerminalTheProgramQuitsOnceSettled) {
    input.start(CommandInput::Terminal::ignore);
    clock.advance(1499);
    EXPECT_TRUE(quitTimes.empty());
    clock.advance(1);
    EXPECT_EQ(quitTimes.size(), 1U);
}

TEST_F(CommandInputTest, TheTerminalRefusesWaitAndNumbersItsLines) {
    input.handleTerminalLine("");
    input.handleTerminalLine("hello");
    input.handleTerminalLine("wait 10");
    EXPECT_TRUE(quitTimes.empty());
    EXPECT_EQ(errors,
              (std::vector<std::string>{"terminal line 2: unknown command \"hello\"",
                                        "terminal line 3: \"wait\" only works in a script"}));
    input.handleTerminalLine("quit");
    input.handleTerminalLine("quit");
    input.handleEndOfInput();
    EXPECT_EQ(quitTimes.size(), 1U) << "quits once";
}

TEST_F(CommandInputTest, WakeAndPowerOffPostTheSystemsPowerEvents) {
    using Kind = Command::Kind;
    EXPECT_EQ(std::get<Command>(CommandInput::parseLine(" wake")).kind, Kind::wake);
    EXPECT_EQ(std::get<Command>(CommandInput::parseLine("power-off")).kind, Kind::powerOff);
    for (const char* refused : {"Wake", "power off", "wake 5", "poweroff"}) {
        EXPECT_TRUE(isRefusal(CommandInput::parseLine(refused))) << refused;
    }

    std::vector<std::string> posted;
    auto& center = platform::Workspace::shared().notificationCenter();
    const auto observer = center.addObserver(
        "", [&](const platform::Notification& note) { posted.push_back(note.name); });
    input.loadScriptText("wake\nwait 100\npower-off\nwait 100\n");
    input.start(CommandInput::Terminal::ignore);
    clock.runPending();
    EXPECT_EQ(posted, std::vector<std::string>{"NSWorkspaceDidWakeNotification"});
    clock.advance(100);
    EXPECT_EQ(posted.back(), "NSWorkspaceWillPowerOffNotification");
    EXPECT_EQ(posted.size(), 2U);
    clock.advance(100);
    EXPECT_EQ(quitTimes.size(), 1U) << "the events themselves take no time";
    EXPECT_DOUBLE_EQ(quitTimes[0], 0.2);

    input.handleTerminalLine("wake");
    clock.runPending();
    EXPECT_EQ(posted.back(), "NSWorkspaceDidWakeNotification");
    EXPECT_TRUE(errors.empty()) << "nothing refused";
}

TEST_F(CommandInputTest, SetWritesAStoredSettingWithinItsBoundsAndRefusesOneBeyond) {
    struct Case {
        std::string line;
        std::optional<PropertyValue> stored;
        std::string refusal = {};  // when refused, the stored value is left as it was
    };
    const std::string cap = "\"anchorCountCap\" takes a whole number from 1 to 9223372036854775807";
    const std::string visibility = "\"anchorVisibility\" takes a whole number from 1 to 3";
    const std::string factor = "\"spaceSizeFactor\" takes a number from 0.0 to 1.0";
    const std::string delay =
        "\"restartOnWakeDelay\" takes a number from 0.0 to 3.4028234663852886e+38";
    const std::vector<Case> cases{
        {"relaunchOpensMenu 1", {}, "\"relaunchOpensMenu\" takes true or false"},
        {"spaceSizeFactor -0.001", {}, factor},
        {"spaceSizeFactor 0", PropertyValue(0.0)},
        {"spaceSizeFactor 1", PropertyValue(1.0)},
        {"spaceSizeFactor 1.001", {}, factor},
        {"anchorCountCap 0", {}, cap},
        {"anchorCountCap 1", PropertyValue(1)},
        {"anchorCountCap 9223372036854775807",
         PropertyValue(std::numeric_limits<std::int64_t>::max())},
        {"anchorCountCap 9223372036854775808", {}, cap},
        {"anchorCountCap 2.5", {}, cap},
        {"anchorVisibility 0", {}, visibility},
        {"anchorVisibility 3", PropertyValue(3)},
        {"anchorVisibility 4", {}, visibility},
        // After 3: written over nothing, the default (hidden) stores nothing.
        {"anchorVisibility 1", PropertyValue(1)},
        {"restartOnWakeDelay -0.001", {}, delay},
        {"restartOnWakeDelay 0", PropertyValue(0.0)},
        {"restartOnWakeDelay 3.4028234663852886e38", PropertyValue(3.4028234663852886e38)},
        {"restartOnWakeDelay 3.5e38", {}, delay},
    };
    int number = 0;
    for (const auto& entry : cases) {
        const std::string key = entry.line.substr(0, entry.line.find(' '));
        const auto before = defaults().object(key);
        errors.clear();
        input.handleTerminalLine("set " + entry.line);
        ++number;
        if (entry.refusal.empty()) {
            EXPECT_TRUE(errors.empty()) << entry.line << ": " << errors.front();
            EXPECT_EQ(defaults().object(key), entry.stored) << entry.line;
        } else {
            EXPECT_EQ(errors, std::vector<std::string>{"terminal line " + std::to_string(number) +
                                                       ": " + entry.refusal})
                << entry.line;
            EXPECT_EQ(defaults().object(key), before) << entry.line;
        }
    }
}

}  // namespace
}  // namespace zelvana::driver::test

namespace zelvana::driver::test {
namespace {

class SwitchCommandTest : public CommandInputTest {
protected:
    SwitchCommandTest() {
        auto& desktop = platform::Desktop::shared();
        desktop.resetForTesting();
        auto display =
            platform::Display::make(7, platform::Rect::make(0, 0, 1440, 900), "Built-in");
        desktop.addDisplay(display);
        desktop.addSpace(7);
        desktop.addSpace(7);
    }
    ~SwitchCommandTest() override { platform::Desktop::shared().resetForTesting(); }
};

TEST_F(SwitchCommandTest, TheUsersSwitchNamesADisplayAndASpacePositionFromOne) {
    const auto parsed = std::get<Command>(CommandInput::parseLine("switch 7 3"));
    EXPECT_EQ(parsed.kind, Command::Kind::switchSpace);
    EXPECT_EQ(parsed.display, 7u);
    EXPECT_EQ(parsed.position, 3u);
    for (const char* refused : {"switch", "switch 7", "switch 7 0", "switch 0 1", "switch -1 2",
                                "switch 7 2 1", "switch a b", "switch 99999999999 1"}) {
        EXPECT_TRUE(isRefusal(CommandInput::parseLine(refused))) << refused;
    }

    EXPECT_EQ(describeShownSpaces(),
              std::vector<std::string>{"display 7 \"Built-in\": space 1 of 3"});
    input.handleTerminalLine("switch 7 3");
    clock.advance(250);
    EXPECT_EQ(describeShownSpaces(),
              std::vector<std::string>{"display 7 \"Built-in\": space 3 of 3"});

    input.handleTerminalLine("switch 7 4");
    input.handleTerminalLine("switch 8 1");
    EXPECT_EQ(describeShownSpaces(),
              std::vector<std::string>{"display 7 \"Built-in\": space 3 of 3"});
    EXPECT_EQ(errors, (std::vector<std::string>{"terminal line 2: display 7 has no space 4",
                                                "terminal line 3: there is no display 8"}));
}

TEST_F(SwitchCommandTest, DisplaysArePluggedInAndOutButTheLastStays) {
    for (const char* refused : {"display", "display add", "display add 0", "display plug 3",
                                "display add 3 4", "display remove x"}) {
        EXPECT_TRUE(isRefusal(CommandInput::parseLine(refused))) << refused;
    }
    input.handleTerminalLine("display add 8");
    EXPECT_EQ(describeShownSpaces(),
              (std::vector<std::string>{"display 7 \"Built-in\": space 1 of 3",
                                        "display 8 \"Display 8\": space 1 of 1"}));
    EXPECT_EQ(platform::Desktop::shared().display(8)->frame,
              platform::Rect::make(1440, 0, 1920, 1080));
    input.handleTerminalLine("display add 8");
    input.handleTerminalLine("display remove 7");
    EXPECT_EQ(describeShownSpaces(),
              std::vector<std::string>{"display 8 \"Display 8\": space 1 of 4"});
    input.handleTerminalLine("display remove 8");
    input.handleTerminalLine("display remove 7");
    EXPECT_EQ(errors, (std::vector<std::string>{"terminal line 2: display 8 is attached already",
                                                "terminal line 4: the last display stays",
                                                "terminal line 5: there is no display 7"}));
}

TEST_F(SwitchCommandTest, ActivatingAnotherApplicationDeactivatesOurs) {
    EXPECT_TRUE(isRefusal(CommandInput::parseLine("activate-other 2")));
    auto& application = platform::Application::shared();
    application.activate(true);
    input.handleTerminalLine("activate-other");
    EXPECT_FALSE(application.isActive());
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace zelvana::driver::test
