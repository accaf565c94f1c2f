// Names come from the person's desktop and settings; whatever they hold, each
// thing the program reports stays one whole line of its own.
#include "Zelvana/tests/program/ProgramFixture.hpp"

namespace zelvana::core::test {
namespace {

TEST_F(ProgramTest, ANameCanNeitherForgeALineNorCutItShort) {
    const auto desktop = write("desktop.json", R"({"displays": [
        {"number": 1, "frame": [0, 0, 800, 600], "name": "Evil\nquit\ndisplay 9 \"x\": space 1 of 1"},
        {"number": 2, "frame": [800, 0, 800, 600], "name": "cut\u0000short \\ \t"}]})");
    const auto ended = run(
        {"--desktop", desktop.string(), "--script", write("test.script", "wait 10\n").string()});
    EXPECT_EQ(ended.status, 0) << ended.errors;
    const std::vector<std::string> expected{
        R"(display 1 "Evil\nquit\ndisplay 9 \"x\": space 1 of 1": space 1 of 1)",
        R"(display 2 "cut\u0000short \\ \t": space 1 of 1)",
        "quit",
    };
    auto lines = ended.outputLines();
    std::erase_if(lines, [](const std::string& line) {
        return line.starts_with("status: ") || line.ends_with(" running");
    });
    EXPECT_EQ(lines, expected) << ended.output;
}

}  // namespace
}  // namespace zelvana::core::test
