#include "soak/ScriptGenerator.hpp"

#include <gtest/gtest.h>

#include <variant>

#include "Zelvana/Driver/CommandInput.hpp"

namespace zelvana::soak {
namespace {

TEST(ScriptGeneratorTest, TheSameSeedGivesTheSameScript) {
    ScriptGenerator first(7);
    ScriptGenerator again(7);
    ScriptGenerator other(8);
    const auto lines = first.lines(300);
    EXPECT_EQ(lines, again.lines(300));
    EXPECT_NE(lines, other.lines(300));
    EXPECT_EQ(first.totalWait(), again.totalWait());
}

TEST(ScriptGeneratorTest, EveryLineIsACommandAndTheLastQuits) {
    ScriptGenerator generator(22);
    const auto lines = generator.lines(2000);
    ASSERT_EQ(lines.size(), 2000u);
    EXPECT_EQ(lines.front(), "wait 1500");
    EXPECT_EQ(lines.back(), "quit");
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

}  // namespace
}  // namespace zelvana::soak
