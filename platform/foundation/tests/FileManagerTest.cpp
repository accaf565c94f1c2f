#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "platform/foundation/FileManager.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolders;

void write(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

std::string read(const fs::path& path) {
    return FileManager::defaultManager().contentsAtPath(path).value_or("<unreadable>");
}

TEST(FileManagerTest, MoveNeverOverwritesTheTarget) {
    TemporaryFolders folders;
    auto& files = FileManager::defaultManager();
    const fs::path from = folders.path("from.log"), to = folders.path("to.log");
    write(from, "new");
    write(to, "old");

    std::string error;
    EXPECT_FALSE(files.moveItem(from, to, &error));
    EXPECT_NE(error.find("to.log"), std::string::npos) << error;
    EXPECT_NE(error.find("exists"), std::string::npos) << error;
    EXPECT_EQ(read(from), "new");
    EXPECT_EQ(read(to), "old");

    const fs::path free = folders.path("free.log");
    EXPECT_TRUE(files.moveItem(from, free, &error)) << error;
    EXPECT_FALSE(files.fileExists(from));
    EXPECT_EQ(read(free), "new");

    EXPECT_FALSE(files.moveItem(from, folders.path("other.log"), &error));
    EXPECT_NE(error.find("from.log"), std::string::npos) << error;
}

TEST(FileManagerTest, CreatesAndRemovesFilesAndFolders) {
    TemporaryFolders folders;
    auto& files = FileManager::defaultManager();
    std::string error;

    const fs::path deep = folders.path("a/b/c");
    EXPECT_FALSE(files.createDirectory(deep, false, &error));
    EXPECT_TRUE(files.createDirectory(deep, true, &error)) << error;
    EXPECT_TRUE(files.createDirectory(deep, true, &error)) << error;  // already there is fine
    EXPECT_FALSE(files.createDirectory(deep, false, &error));
    EXPECT_TRUE(files.isDirectory(deep));

    const fs::path file = deep / "f.txt";
    EXPECT_TRUE(files.createFile(file, &error)) << error;
    EXPECT_EQ(files.fileSize(file), 0u);
    write(file, "contents");
    EXPECT_FALSE(files.createFile(file, &error));  // refuses to replace
    EXPECT_EQ(read(file), "contents");
    EXPECT_EQ(files.fileSize(file), 8u);
    EXPECT_FALSE(files.createDirectory(file, true, &error));  // a file is in the way
    EXPECT_FALSE(files.fileSize(deep, &error));
    EXPECT_FALSE(files.fileSize(folders.path("nothing"), &error));
    EXPECT_NE(error.find("nothing"), std::string::npos) << error;

    EXPECT_TRUE(files.removeItem(folders.path("a"), &error)) << error;
    EXPECT_FALSE(files.fileExists(folders.path("a")));
    EXPECT_FALSE(files.removeItem(folders.path("a"), &error));
    EXPECT_NE(error.find("'"), std::string::npos) << error;
}

TEST(FileManagerTest, WritesAtomicallyAndReadsBack) {
    TemporaryFolders folders;
    auto& files = FileManager::defaultManager();
    const fs::path file = folders.path("blob");
    const std::string binary("a\0b\xFF", 4);
    std::string error;
    EXPECT_TRUE(files.writeAtomically(file, binary, &error)) << error;
    EXPECT_EQ(files.contentsAtPath(file), binary);
    EXPECT_TRUE(files.writeAtomically(file, "", &error)) << error;
    EXPECT_EQ(files.contentsAtPath(file), "");
    EXPECT_FALSE(files.contentsAtPath(folders.root(), &error));  // a folder has no contents
}

// Found by killing the program while it saved: each kill left a temporary file.
TEST(FileManagerTest, AWriteRemovesTemporaryFilesOfWritersThatAreGone) {
    TemporaryFolders folders;
    const fs::path folder = folders.path("saves");
    fs::create_directories(folder);
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone);
    const std::string alive = std::to_string(::getpid());
    const std::vector<std::string> kept{".blob." + alive + ".AbC123", ".other." + dead + ".AbC123",
                                        ".blob.x" + dead + ".AbC123", "blob." + dead + ".AbC123"};
    for (const auto& name : kept) std::ofstream(folder / name) << "partial";
    std::ofstream(folder / (".blob." + dead + ".AbC123")) << "partial";

    ASSERT_TRUE(FileManager::defaultManager().writeAtomically(folder / "blob", "whole"));
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) {
        left.insert(entry.path().filename().string());
    }
    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert("blob");
    EXPECT_EQ(left, expected);
}

}  // namespace
}  // namespace zelvana::platform
