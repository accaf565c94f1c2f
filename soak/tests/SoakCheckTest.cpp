#include "soak/SoakCheck.hpp"

#include <gtest/gtest.h>

namespace zelvana::soak {
namespace {

TEST(SoakCheckTest, CountsTheSpacesShownFollowingThemAcrossDisplays) {
    const struct {
        const char* output;
        std::size_t spaces;
    } cases[] = {
        {"", 0},
        {"display 1 \"A\": space 1 of 3\ndisplay 2 \"B\": space 2 of 2\n", 2},
        // Two reports back to back; a space shown twice counts once.
        {"display 1 \"A\": space 1 of 3\ndisplay 1 \"A\": space 2 of 3\n"
         "display 1 \"A\": space 1 of 3\n",
         2},
        {"display 1 \"A\": space 1 of 3\nZelvana 1.0 running\ndisplay 3 \"C\": no space shown\n",
         1},
        // Display 2 goes: its two spaces become display 1's fourth and fifth;
        // its second was shown already.
        {"display 1 \"A\": space 1 of 3\ndisplay 2 \"B\": space 2 of 2\n"
         "display 1 \"A\": space 5 of 5\ndisplay 1 \"A\": space 4 of 5\n",
         3},
        // Two displays gone at once: which space is which is not known.
        {"display 1 \"A\": space 1 of 1\ndisplay 2 \"B\": space 1 of 1\n"
         "display 3 \"C\": space 1 of 1\ndisplay 1 \"A\": space 3 of 3\n",
         3},
        // Every space forgotten: only those shown after count.
        {"display 1 \"A\": space 1 of 3\ndisplay 1 \"A\": space 2 of 3\n"
         "snapshot: /p/gone.png\ndisplay 1 \"A\": space 3 of 3\n"
         "snapshot: /p/other.png\ndisplay 1 \"A\": space 1 of 3\n",
         2},
    };
    for (const auto& test : cases)
        EXPECT_EQ(SoakCheck::spacesSeen(test.output, "gone.png"), test.spaces) << test.output;
}

TEST(SoakCheckTest, MemoryMayNotKeepGrowingAfterWarmUp) {
    const std::vector<std::size_t> flat{9000, 50000, 60000, 61000, 60000, 62000, 61000, 63000};
    EXPECT_FALSE(SoakCheck::memoryFault(flat));
    const std::vector<std::size_t> growing{9000, 50000, 60000, 61000, 80000, 90000, 95000, 120000};
    EXPECT_TRUE(SoakCheck::memoryFault(growing));
}

TEST(SoakCheckTest, TheGridMustDecodeAndHoldWhatTheAnchorCapAllows) {
    const std::string space = R"({"windowList":[],"coordinates":[]})";
    const std::string two = "[" + space + "," + space + "]";
    EXPECT_FALSE(SoakCheck::gridFault(two, 2, 50));
    EXPECT_TRUE(SoakCheck::gridFault(two, 3, 50)) << "a space seen is missing";
    EXPECT_FALSE(SoakCheck::gridFault(two, 9, 1)) << "cap and one more kept";
    EXPECT_TRUE(SoakCheck::gridFault("[" + space + "," + two.substr(1), 9, 1)) << "beyond the cap";
    EXPECT_FALSE(SoakCheck::gridFault("", 0, 50)) << "cleared";
    EXPECT_TRUE(SoakCheck::gridFault("", 1, 50));
    EXPECT_TRUE(SoakCheck::gridFault(std::nullopt, 0, 50));
    EXPECT_TRUE(SoakCheck::gridFault("[{\"windowList\":[]}]", 0, 50));
    EXPECT_TRUE(SoakCheck::gridFault("[{", 0, 50));
}

TEST(SoakCheckTest, SanitizerReportsAreFaults) {
    EXPECT_FALSE(SoakCheck::outputFault("display 1 \"A\": space 1 of 3\n"));
    EXPECT_TRUE(SoakCheck::outputFault("==7==ERROR: AddressSanitizer: heap-use-after-free"));
    EXPECT_TRUE(SoakCheck::outputFault("x.cpp:3:5: runtime error: signed integer overflow"));
}

TEST(SoakCheckTest, OnlyRefusedLinesExcuseStatusOne) {
    const int exited = 0, exitedWithOne = 1 << 8, killed = 9;  // wait statuses
    EXPECT_FALSE(SoakCheck::exitFault(exited, ""));
    EXPECT_FALSE(SoakCheck::exitFault(exitedWithOne, "script line 9: the menu is open already\n"));
    EXPECT_TRUE(SoakCheck::exitFault(exitedWithOne, "quit\n"));
    EXPECT_TRUE(SoakCheck::exitFault(2 << 8, "script line 9: x\n"));
    EXPECT_TRUE(SoakCheck::exitFault(killed, ""));
}

}  // namespace
}  // namespace zelvana::soak
