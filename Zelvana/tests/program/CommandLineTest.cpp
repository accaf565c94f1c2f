// The program's command line as a person types it: help, and every line it
// cannot carry out refused on standard error with its status.
#include <sys/stat.h>

#include "Zelvana/tests/program/ProgramFixture.hpp"

namespace zelvana::core::test {
namespace {

constexpr const char* kUsage = "usage: Zelvana [--desktop FILE] [--script FILE] [--help]\n";

TEST_F(ProgramTest, HelpPrintsTheUsageAndLeaves) {
    const auto ended = run({"--help"});
    EXPECT_EQ(ended.status, 0);
    EXPECT_TRUE(ended.output.starts_with(kUsage)) << ended.output;
    EXPECT_EQ(ended.errors, "");
    EXPECT_FALSE(fs::exists(folders.config() / "zelvana")) << "nothing stored";
}

TEST_F(ProgramTest, BadCommandLinesAreRefusedOnStandardError) {
    write("unreadable.script", "wait 10\n");
    ::chmod((workFolder() / "unreadable.script").c_str(), 0);
    fs::create_directories(workFolder() / "folder.script");
    const struct {
        std::vector<std::string> arguments;
        std::string firstLine;
        bool usage;
        int status;
    } rows[] = {
        {{"--verbose"}, "unknown option \"--verbose\"", true, 2},
        {{"tour.script"}, "unexpected argument \"tour.script\"", true, 2},
        {{"--desktop"}, "--desktop needs a file", true, 2},
        {{"--script", "missing.script"},
         "cannot read the script missing.script: no such file or directory",
         false,
         2},
        {{"--script", "folder.script"},
         "cannot read the script folder.script: it is a folder",
         false,
         2},
        {{"--script", "unreadable.script"},
         "cannot read the script unreadable.script: permission denied",
         false,
         2},
        {{"--desktop", "missing.json"},
         "cannot load the desktop: could not read 'missing.json': No such file or directory\n",
         false,
         1},
    };
    // The owner of every file reads it anyway.
    const bool privileged = ::geteuid() == 0;
    for (const auto& row : rows) {
        if (privileged && row.firstLine.ends_with("permission denied")) continue;
        const auto ended = run(row.arguments);
        const auto line = row.arguments.front() + " ...: ";
        EXPECT_EQ(ended.status, row.status) << line << ended.errors;
        EXPECT_TRUE(ended.errors.starts_with(row.firstLine)) << line << ended.errors;
        EXPECT_EQ(ended.errors.find(kUsage) != std::string::npos, row.usage) << line;
        EXPECT_EQ(ended.output, "") << line;
    }
    EXPECT_FALSE(fs::exists(folders.config() / "zelvana")) << "nothing stored";
}

}  // namespace
}  // namespace zelvana::core::test
