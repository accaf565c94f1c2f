#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform::testing {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

TEST(TemporaryFoldersTest, PointsTheEnvironmentIntoAFreshFolderAndRestoresIt) {
    ::setenv("XDG_CONFIG_HOME", "/previous/config", 1);
    ::unsetenv("XDG_CACHE_HOME");
    const auto home = env("HOME");
    fs::path root;
    {
        TemporaryFolders folders;
        root = folders.root();
        EXPECT_TRUE(fs::is_directory(root));
        EXPECT_EQ(env("HOME"), folders.home().string());
        EXPECT_EQ(env("XDG_CONFIG_HOME"), folders.config().string());
        EXPECT_EQ(env("XDG_DATA_HOME"), folders.data().string());
        EXPECT_EQ(env("XDG_CACHE_HOME"), folders.cache().string());
        EXPECT_EQ(env("XDG_RUNTIME_DIR"), folders.runtime().string());
        for (const fs::path& folder : {folders.home(), folders.config(), folders.data(),
                                       folders.cache(), folders.runtime()}) {
            EXPECT_TRUE(fs::is_directory(folder)) << folder;
            EXPECT_EQ(folder.parent_path(), root);
        }
        struct stat info {};
        ::stat(folders.runtime().c_str(), &info);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(folders.path("a/b"), root / "a" / "b");

        TemporaryFolders second;
        EXPECT_NE(second.root(), root);
    }
    EXPECT_FALSE(fs::exists(root));
    EXPECT_EQ(env("XDG_CONFIG_HOME"), "/previous/config");
    EXPECT_EQ(env("XDG_CACHE_HOME"), std::nullopt);
    EXPECT_EQ(env("HOME"), home);
    ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace zelvana::platform::testing
