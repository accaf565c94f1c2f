// Quitting while a person has something open: the program closes it, lets go
// of its parts in order and ends cleanly. Run in the sanitizer build, a use
// of freed memory at the end shows as a report and a failed exit.
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "Zelvana/tests/program/ProgramFixture.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::core::test {
namespace {

struct OpenState {
    const char* name;
    const char* lines;
    const char* shownLine = nullptr;  // printed once the state is reached
};

// Visits the spaces so there is a grid, and picks f5 for the panel.
constexpr const char* kLearnTheSpaces =
    "wait 1500\nswitch 1 2\nwait 300\nswitch 1 3\nwait 300\nswitch 1 1\nwait 2500\n"
    "record show f5\n";

const OpenState kStates[] = {
    {"StatusMenu", "menu\n"},
    {"AdvancedSubmenu", "down opt\nmenu\n"},
    {"Panel", "press f5\nwait 300\n"},
    {"RenamePopover", "press f5\nwait 300\npress opt+return\nwait 300\n"},
    {"SettingsWindow", "menu Settings…\nwait 300\n"},
    // The click lands on the recorder beside "Show Zelvana:".
    {"RecorderRecording", "menu Settings…\nwait 300\nclick 771 261\n"},
    // A shortcut the system lists, which the recorder asks about.
    {"Alert", "menu Settings…\nwait 300\nclick 771 261\npress ctrl+f2\n", "alert button: OK"},
    // The first move sets the drag's origin, the second starts it.
    {"DragOfACell",
     "press f5\nwait 300\nmouse down 536 370\nmove 560 370\nmove 755 370\nmove 974 370\n"},
    {"RestToOne", "set gesture 6\nrest 3\nwait 300\n"},
    {"PowerOffWithTheMenuOpen", "menu\npower-off\nwait 1000\n"},
};

void PrintTo(const OpenState& state, std::ostream* out) {
    *out << state.name;
}

class QuitTest : public ProgramTest, public ::testing::WithParamInterface<OpenState> {};

TEST_P(QuitTest, EndsCleanlyWithQuitLast) {
    const auto ended = play(std::string(kLearnTheSpaces) + GetParam().lines);
    EXPECT_EQ(ended.status, 0) << ended.errors;
    EXPECT_EQ(ended.errors, "");
    const auto lines = ended.outputLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "quit") << ended.output;
    if (GetParam().shownLine) {
        EXPECT_NE(std::ranges::find(lines, std::string(GetParam().shownLine)), lines.end())
            << ended.output;
    }
}

INSTANTIATE_TEST_SUITE_P(InEveryOpenState, QuitTest, ::testing::ValuesIn(kStates),
                         [](const auto& info) { return std::string(info.param.name); });

// What the system's requests to quit find open: the panel, or the status
// menu with its own tracking loop.
struct Request {
    const char* name;
    int signal;
    const char* lines;
    const char* shownLine;
};

const Request kRequests[] = {
    {"TermWithThePanelOpen", SIGTERM, "press f5\n", "panel: open"},
    {"IntWithTheMenuOpen", SIGINT, "menu\n", "menu: Quit Zelvana"},
};

void PrintTo(const Request& request, std::ostream* out) {
    *out << request.name;
}

class SignalTest : public ProgramTest, public ::testing::WithParamInterface<Request> {
protected:
    platform::testing::ProgramRun& startUntilShown(const char* lines, const char* shownLine) {
        auto& run =
            start({"--desktop", (kExamples / "desktop.json").string(), "--script",
                   write("test.script", std::string(kLearnTheSpaces) + lines + "wait 3600000\n")
                       .string()});
        EXPECT_TRUE(waitUntil([&] { return run.output().find(shownLine) != std::string::npos; },
                              std::chrono::seconds(60)))
            << run.output();
        return run;
    }
};

TEST_P(SignalTest, QuitsAsTheQuitItemDoes) {
    auto& run = startUntilShown(GetParam().lines, GetParam().shownLine);
    ::kill(run.pid(), GetParam().signal);
    const auto ended = wait(run);
    EXPECT_EQ(ended.status, 0) << ended.errors;
    EXPECT_EQ(ended.errors, "");
    EXPECT_TRUE(ended.output.ends_with("\nquit\n")) << ended.output;
    EXPECT_TRUE(fs::exists(folders.data() / "zelvana/desktop.json")) << "the desktop is saved";
    const auto grid = platform::UserDefaults("com.quorrim.Zelvana").stringForKey("grid");
    ASSERT_TRUE(grid);
    EXPECT_GE(nlohmann::json::parse(*grid).size(), 3U) << "the spaces visited";
}

INSTANTIATE_TEST_SUITE_P(WhileSomethingIsOpen, SignalTest, ::testing::ValuesIn(kRequests),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SignalTest, ASecondSignalEndsTheQuitAtOnce) {
    auto& run = startUntilShown("press f5\n", "panel: open");
    // Stopped, the program holds both until it goes on, and meets the second
    // before its quit can end.
    ::kill(run.pid(), SIGSTOP);
    ::kill(run.pid(), SIGTERM);
    ::kill(run.pid(), SIGINT);
    ::kill(run.pid(), SIGCONT);
    const auto ended = wait(run);
    ASSERT_TRUE(ended.status);
    EXPECT_TRUE(*ended.status == -SIGTERM || *ended.status == -SIGINT) << *ended.status;
    EXPECT_FALSE(ended.output.ends_with("quit\n")) << ended.output;
}

// Everything the program wrote to its terminal so far.
std::string readAvailable(int terminal) {
    std::string text;
    char buffer[4096];
    for (ssize_t count; (count = ::read(terminal, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return text;
}

TEST_F(ProgramTest, ControlDAtTheTerminalQuitsWithTheMenuOpen) {
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::chdir(workFolder().c_str()) == 0) {
            const std::string desktop = (kExamples / "desktop.json").string();
            ::execl(kProgram.c_str(), kProgram.c_str(), "--desktop", desktop.c_str(), nullptr);
        }
        ::_exit(127);
    }
    ::fcntl(terminal, F_SETFL, O_NONBLOCK);
    std::string output;
    const auto printed = [&](const std::string& text) {
        return waitUntil(
            [&] {
                output += readAvailable(terminal);
                return output.find(text) != std::string::npos;
            },
            std::chrono::seconds(60));
    };
    ASSERT_TRUE(printed(" running")) << output;
    ASSERT_EQ(::write(terminal, "menu\n", 5), 5);
    EXPECT_TRUE(printed("menu: Quit Zelvana")) << output;
    ASSERT_EQ(::write(terminal, "\x04", 1), 1);  // Ctrl-D: the end of the input
    EXPECT_TRUE(printed("quit")) << output;

    int status = 0;
    const bool ended = waitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; },
                                 std::chrono::seconds(60));
    if (!ended) ::kill(pid, SIGKILL);
    output += readAvailable(terminal);
    ::close(terminal);
    ASSERT_TRUE(ended) << output;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    EXPECT_TRUE(output.ends_with("quit\r\n")) << output;
}

}  // namespace
}  // namespace zelvana::core::test
