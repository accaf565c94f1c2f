// Script lines as a person writes them from the README: what each is refused
// with, and the status the run ends with (1 once any line was refused).
#include "Zelvana/tests/program/ProgramFixture.hpp"

namespace zelvana::core::test {
namespace {

TEST_F(ProgramTest, RefusedLinesEndTheRunWithStatusOne) {
    const struct {
        const char* lines;
        const char* errors;
        int status;
    } rows[] = {
        {"wait 10\n", "", 0},
        {"wait 99999999999999999999\nwait 3600001\nwait 10\n",
         "script line 1: \"wait\" waits an hour (3600000 ms) at most\n"
         "script line 2: \"wait\" waits an hour (3600000 ms) at most\n",
         1},
        {"hop\n", "script line 1: unknown command \"hop\"\n", 1},
        {"switch 9 1\n", "script line 1: there is no display 9\n", 1},
        {"switch 1 9\n", "script line 1: display 1 has no space 9\n", 1},
        {"type Café naïve à mañana\n", "", 0},
        {"type 漢\n", "script line 1: no key types \"漢\" on the com.apple.keylayout.US layout\n",
         1},
        {"menu Settings...\nclose\n", "", 0},
        {"menu Advanced > Clear All Spaces\n",
         "script line 1: \"Advanced\" shows only while opt is held (\"down opt\" first)\n", 1},
        {"down opt\nmenu Advanced > Clear All Spaces\nup opt\n", "", 0},
    };
    for (const auto& [lines, errors, status] : rows) {
        const auto ended = play(lines);
        EXPECT_EQ(ended.errors, errors) << lines;
        EXPECT_EQ(ended.status, status) << lines;
        EXPECT_TRUE(ended.output.ends_with("\nquit\n")) << lines << ended.output;
    }
}

// The panel searches by each key's own character: é is opt+e, then e.
TEST_F(ProgramTest, ASpaceRenamedWithAnAccentIsFoundTypingItWithOrWithout) {
    const auto ended = play(
        "wait 1500\nswitch 1 2\nwait 300\nswitch 1 3\nwait 300\nswitch 1 1\nwait 2500\n"
        "record show f5\npress f5\npress right\npress opt+return\nwait 300\n"
        "type Café\npress return\npress escape\nwait 300\n"
        "press f5\nwait 300\npanel\ntype cafe\npanel\npress escape\nwait 300\n"
        "press f5\nwait 300\npanel\ntype café\npanel\n");
    EXPECT_EQ(ended.errors, "");
    std::vector<std::string> rows;
    for (const auto& line : ended.outputLines()) {
        if (line.starts_with("panel: row")) rows.push_back(line);
    }
    const std::string found = R"(panel: row 1: 1 (current) | 2 "Café" (highlighted) | 3)";
    const std::string shown = R"(panel: row 1: 1 (current) | 2 "Café" | 3)";
    EXPECT_EQ(rows, (std::vector<std::string>{shown, found, shown, found})) << ended.output;
}

}  // namespace
}  // namespace zelvana::core::test
