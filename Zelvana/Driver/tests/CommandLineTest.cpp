#include "Zelvana/Driver/CommandLine.hpp"

#include <gtest/gtest.h>

namespace zelvana::driver::test {
namespace {

std::variant<CommandLine, std::string> parse(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "Zelvana");
    return CommandLine::parse(arguments);
}

TEST(CommandLineTest, TakesEachOptionOnceAndRefusesTheRestNamingIt) {
    const auto line = parse({"--relaunch", "--script", "tour", "--help", "--desktop", "desk.json"});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(line));
    EXPECT_EQ(std::get<CommandLine>(line).desktop, "desk.json");
    EXPECT_EQ(std::get<CommandLine>(line).script, "tour");
    EXPECT_TRUE(std::get<CommandLine>(line).help);

    const struct {
        std::vector<std::string> arguments;
        std::string refusal;
    } rows[] = {
        {{"--verbose"}, R"(unknown option "--verbose")"},
        {{"-h"}, R"(unknown option "-h")"},
        {{"-desktop", "desk.json"}, R"(unknown option "-desktop")"},
        {{"tour.script"}, R"(unexpected argument "tour.script")"},
        {{"--desktop"}, "--desktop needs a file"},
        {{"--desktop", "desk.json", "--script"}, "--script needs a file"},
        {{"--desktop", "desk.json", "--desktop", "desk.json"}, "--desktop is given twice"},
        {{"--script", "a", "--help", "--script", "b"}, "--script is given twice"},
    };
    for (const auto& row : rows) {
        const auto refused = parse(row.arguments);
        EXPECT_EQ(std::holds_alternative<std::string>(refused) ? std::get<std::string>(refused)
                                                               : "(taken)",
                  row.refusal);
    }
}

}  // namespace
}  // namespace zelvana::driver::test
