#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/foundation/SystemFolders.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolders;

unsigned modeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

TEST(SystemFoldersTest, FollowTheXdgVariablesAtEveryCall) {
    TemporaryFolders folders;
    EXPECT_EQ(SystemFolders::home(), folders.home());
    EXPECT_EQ(SystemFolders::preferences(), folders.config() / "zelvana" / "preferences");
    EXPECT_EQ(SystemFolders::applicationSupport(), folders.data());
    EXPECT_EQ(SystemFolders::caches(), folders.cache());
    EXPECT_EQ(SystemFolders::runtime(), folders.runtime() / "zelvana");

    ::setenv("XDG_DATA_HOME", folders.path("elsewhere").c_str(), 1);
    EXPECT_EQ(SystemFolders::applicationSupport(), folders.path("elsewhere"));

    // Unset, empty or relative values fall back to the defaults under the home.
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("XDG_DATA_HOME", "", 1);
    ::setenv("XDG_CACHE_HOME", "relative/cache", 1);
    EXPECT_EQ(SystemFolders::preferences(), folders.home() / ".config/zelvana/preferences");
    EXPECT_EQ(SystemFolders::applicationSupport(), folders.home() / ".local/share");
    EXPECT_EQ(SystemFolders::caches(), folders.home() / ".cache");
}

TEST(SystemFoldersTest, RuntimeFolderIsCreatedPrivate) {
    TemporaryFolders folders;
    auto runtime = SystemFolders::runtime();
    ASSERT_TRUE(runtime);
    EXPECT_TRUE(fs::is_directory(*runtime));
    EXPECT_EQ(modeOf(*runtime), 0700u);

    ::chmod(runtime->c_str(), 0755);
    SystemFolders::runtime();
    EXPECT_EQ(modeOf(*runtime), 0700u);

    // Without XDG_RUNTIME_DIR, a folder of this user in the temporary directory.
    const char* previousTmp = std::getenv("TMPDIR");
    const std::string savedTmp = previousTmp ? previousTmp : "";
    ::setenv("TMPDIR", folders.path("tmp").c_str(), 1);
    fs::create_directories(folders.path("tmp"));
    ::unsetenv("XDG_RUNTIME_DIR");
    auto fallback = SystemFolders::runtime();
    previousTmp ? ::setenv("TMPDIR", savedTmp.c_str(), 1) : ::unsetenv("TMPDIR");
    ASSERT_TRUE(fallback);
    EXPECT_EQ(*fallback, folders.path("tmp") / ("zelvana-" + std::to_string(::geteuid())));
    EXPECT_EQ(modeOf(*fallback), 0700u);

    // A non-folder squatting on the name is refused rather than trusted.
    ::setenv("XDG_RUNTIME_DIR", folders.path("squatted").c_str(), 1);
    fs::create_directories(folders.path("squatted"));
    fs::create_symlink(folders.root(), folders.path("squatted/zelvana"));
    EXPECT_FALSE(SystemFolders::runtime());
}

}  // namespace
}  // namespace zelvana::platform
