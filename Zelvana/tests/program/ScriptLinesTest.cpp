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

}  // namespace
}  // namespace zelvana::core::test
