// Two launches on the same folders: the second hands over to the first, as
// the system does, and leaves the person's stored state alone.
#include <signal.h>

#include <map>

#include "Zelvana/tests/program/ProgramFixture.hpp"

namespace zelvana::core::test {
namespace {

using namespace std::chrono_literals;

// Every stored file with its size and time of change.
std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> storedFiles(
    const platform::testing::TemporaryFolders& folders) {
    std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> files;
    for (const auto& folder : {folders.config(), folders.data(), folders.cache()}) {
        if (!fs::exists(folder)) continue;
        for (const auto& item : fs::recursive_directory_iterator(folder)) {
            if (item.is_regular_file())
                files[item.path()] = {item.file_size(), item.last_write_time()};
        }
    }
    return files;
}

TEST_F(ProgramTest, ASecondLaunchReopensTheRunningCopyAndStoresNothing) {
    const auto desktop = (kExamples / "desktop.json").string();
    auto& first =
        start({"--desktop", desktop, "--script",
               write("first.script", "set relaunchOpensMenu true\nwait 8000\n").string()});
    ASSERT_TRUE(
        waitUntil([&] { return first.output().find(" running\n") != std::string::npos; }, 30s))
        << first.output();
    // Held still, the first copy stores nothing while the second runs.
    ::kill(first.pid(), SIGSTOP);
    const auto before = storedFiles(folders);
    const auto second =
        run({"--desktop", desktop, "--script", write("second.script", "menu\n").string()});
    const auto after = storedFiles(folders);
    ::kill(first.pid(), SIGCONT);

    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.output, "Zelvana is already running; it reopens instead\n");
    EXPECT_EQ(second.errors, "");
    EXPECT_TRUE(before == after) << "the second copy wrote to the stored state";

    // The first reopens: relaunchOpensMenu pops its status menu up, open at its end.
    const auto ended = wait(first);
    EXPECT_EQ(ended.status, 0) << ended.errors;
    EXPECT_NE(ended.output.find("menu: Quit Zelvana\n"), std::string::npos) << ended.output;
    EXPECT_TRUE(ended.output.ends_with("\nquit\n")) << ended.output;
    EXPECT_EQ(ended.errors, "");
}

}  // namespace
}  // namespace zelvana::core::test
