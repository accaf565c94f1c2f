// What a run leaves behind: only files in the XDG folders it was given, the
// simulated machine's login items among them, and a word on the terminal
// when stored spaces cannot be read.
#include <algorithm>
#include <iterator>

#include "Zelvana/tests/program/ProgramFixture.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::core::test {
namespace {

using namespace std::chrono_literals;

bool anyProgramRunning() {
    return !platform::RunningApplication::runningApplications("com.quorrim.Zelvana").empty() ||
           !platform::RunningApplication::runningApplications("com.quorrim.Zelvana-Helper").empty();
}

TEST_F(ProgramTest, ARunWritesOnlyInsideItsFolders) {
    const auto ended = play(
        "wait 1500\nswitch 1 2\nwait 300\nswitch 1 1\nwait 2500\n"
        "set launchOnLogin true\nset gesture 1\nset autoRestartOnWake true\n"
        "record show f5\npress f5\nwait 300\npress escape\nmenu\nwake\nwait 5000\n");
    EXPECT_EQ(ended.status, 0) << ended.errors;
    // The helper and the copy it starts write too, after the run has ended.
    EXPECT_TRUE(waitUntil([] { return !anyProgramRunning(); }, 30s));

    EXPECT_TRUE(
        fs::exists(folders.data() / "zelvana/LoginItems/com.quorrim.Zelvana.desktop") ||
        fs::exists(folders.data() / "zelvana/LoginItems/com.quorrim.Zelvana-Helper.desktop"))
        << "the simulated machine keeps its login items";
    const std::vector<fs::path> allowed{folders.config() / "zelvana", folders.data(),
                                        folders.cache() / "zelvana", folders.runtime() / "zelvana",
                                        workFolder()};
    for (const auto& item : fs::recursive_directory_iterator(folders.root())) {
        if (item.is_directory()) continue;
        const auto inside = [&](const fs::path& folder) {
            const auto relative = item.path().lexically_relative(folder);
            return !relative.empty() && *relative.begin() != "..";
        };
        EXPECT_TRUE(std::ranges::any_of(allowed, inside)) << item.path();
    }
    const auto work = std::distance(fs::directory_iterator(workFolder()), fs::directory_iterator());
    EXPECT_EQ(work, 3) << "the script and the program's output and errors";
}

TEST_F(ProgramTest, AnUnreadableGridIsSaidOnStandardErrorNamingTheKeptFile) {
    {
        platform::UserDefaults preferences("com.quorrim.Zelvana");
        preferences.set("grid", std::string("[{\"id\": 12"));
        ASSERT_TRUE(preferences.synchronize());
    }
    const auto ended = play("wait 10\n");
    EXPECT_EQ(ended.status, 0);
    const std::string said = "zelvana: the stored grid cannot be read; its text is kept in ";
    ASSERT_TRUE(ended.errors.starts_with(said)) << ended.errors;
    const fs::path kept = ended.errors.substr(said.size(), ended.errors.find('\n') - said.size());
    EXPECT_EQ(kept.parent_path(), folders.data() / "zelvana");
    std::ifstream file(kept);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "[{\"id\": 12");
}

}  // namespace
}  // namespace zelvana::core::test
