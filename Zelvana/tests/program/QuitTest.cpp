// Quitting while a person has something open: the program closes it, lets go
// of its parts in order and ends cleanly. Run in the sanitizer build, a use
// of freed memory at the end shows as a report and a failed exit.
#include "Zelvana/tests/program/ProgramFixture.hpp"

namespace zelvana::core::test {
namespace {

struct OpenState {
    const char* name;
    const char* lines;
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
}

INSTANTIATE_TEST_SUITE_P(InEveryOpenState, QuitTest, ::testing::ValuesIn(kStates),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelvana::core::test
