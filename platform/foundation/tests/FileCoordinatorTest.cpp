#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/foundation/FileCoordinator.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolders;

// Appends "begin <who>", yields a while, then "end <who>": an unordered writer
// would let another writer's lines fall in between.
void appendPair(const fs::path& file, const std::string& who) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0600);
    const std::string begin = "begin " + who + "\n", end = "end " + who + "\n";
    EXPECT_EQ(::write(fd, begin.data(), begin.size()), static_cast<ssize_t>(begin.size()));
    for (int i = 0; i < 200; ++i) std::this_thread::yield();
    EXPECT_EQ(::write(fd, end.data(), end.size()), static_cast<ssize_t>(end.size()));
    ::close(fd);
}

// Returns the number of complete pairs, or -1 when two pairs overlap.
int countPairs(const fs::path& file) {
    std::ifstream in(file);
    std::string line, open;
    int pairs = 0;
    while (std::getline(in, line)) {
        if (line.starts_with("begin ")) {
            if (!open.empty()) return -1;
            open = line.substr(6);
        } else if (line == "end " + open) {
            open.clear();
            ++pairs;
        } else {
            return -1;
        }
    }
    return open.empty() ? pairs : -1;
}

void coordinatedPairs(const fs::path& file, const std::string& who, int times) {
    FileCoordinator coordinator;
    for (int i = 0; i < times; ++i) {
        std::string error;
        EXPECT_TRUE(coordinator.coordinateWriting(
            file, [&](const fs::path& url) { appendPair(url, who); }, &error))
            << error;
    }
}

TEST(FileCoordinatorTest, WritersOnSeveralThreadsNeverInterleave) {
    TemporaryFolders folders;
    const fs::path file = folders.path("shared.log");
    std::atomic<int> inside{0}, most{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            FileCoordinator coordinator;
            for (int i = 0; i < 40; ++i) {
                // A relative spelling of the same file must share its lock.
                const fs::path url = t % 2 ? file : folders.root() / "." / "shared.log";
                coordinator.coordinateWriting(url, [&](const fs::path& given) {
                    most = std::max(most.load(), ++inside);
                    appendPair(given, std::to_string(t));
                    --inside;
                });
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(most.load(), 1);
    EXPECT_EQ(countPairs(file), 6 * 40);
    EXPECT_FALSE(fs::is_empty(folders.runtime() / "zelvana" / "coordination"));
}

TEST(FileCoordinatorTest, WritersInTwoProcessesNeverInterleave) {
    TemporaryFolders folders;
    const fs::path file = folders.path("shared.log");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        coordinatedPairs(file, "child", 100);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    coordinatedPairs(file, "parent", 100);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(countPairs(file), 200);
}

TEST(FileCoordinatorTest, NestedAndFailingWriters) {
    TemporaryFolders folders;
    const fs::path file = folders.path("f");
    FileCoordinator coordinator;
    int ran = 0;
    EXPECT_TRUE(coordinator.coordinateWriting(file, [&](const fs::path&) {
        ++ran;
        // Coordinating again on the same file from inside must not wait on itself.
        EXPECT_TRUE(coordinator.coordinateWriting(file, [&](const fs::path&) { ++ran; }));
    }));
    EXPECT_EQ(ran, 2);

    std::string error;
    EXPECT_FALSE(coordinator.coordinateWriting(
        file, [](const fs::path&) { throw std::runtime_error("disk on fire"); }, &error));
    EXPECT_NE(error.find("disk on fire"), std::string::npos) << error;
    // The lock was released despite the throw.
    EXPECT_TRUE(coordinator.coordinateWriting(file, [&](const fs::path&) { ++ran; }));

    // Without a usable runtime folder the writer does not run.
    ::setenv("XDG_RUNTIME_DIR", folders.path("blocked").c_str(), 1);
    std::ofstream(folders.path("blocked")) << "a file, not a folder";
    EXPECT_FALSE(coordinator.coordinateWriting(
        folders.path("g"), [&](const fs::path&) { ++ran; }, &error));
    EXPECT_EQ(ran, 3);
}

}  // namespace
}  // namespace zelvana::platform
