#include "platform/foundation/FileSystemEventStream.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/dispatch/RunLoop.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;

// What the stream delivered: the union of flags per path, and each batch.
struct Deliveries {
    std::map<std::string, std::uint32_t> flags;
    std::vector<FSEventStreamEventId> ids;
    int batches = 0;
    bool onMainThread = true;

    FileSystemEventStream::Callback recorder() {
        return [this](const FileSystemEventStream&, std::size_t count,
                      std::span<const std::string> paths, std::span<const std::uint32_t> flags,
                      std::span<const FSEventStreamEventId> ids) {
            ++batches;
            onMainThread = onMainThread && isMainThread();
            for (std::size_t i = 0; i < count; ++i) {
                this->flags[paths[i]] |= flags[i];
                this->ids.push_back(ids[i]);
            }
        };
    }
    bool has(const fs::path& path, std::uint32_t wanted) const {
        const auto found = flags.find(path.string());
        return found != flags.end() && (found->second & wanted) == wanted;
    }
};

void write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::app) << text;
}

// Real file events take a moment to arrive; two seconds is far more than enough.
bool deliverUntil(const std::function<bool()>& done) {
    return RunLoop::main().runUntil(done, 2.0);
}

class FileSystemEventStreamTest : public ::testing::Test {
protected:
    testing::TemporaryFolders folders;
    fs::path folder = folders.path("watched");
    Deliveries deliveries;

    void SetUp() override { fs::create_directories(folder); }
};

TEST_F(FileSystemEventStreamTest, ReportsAModifiedFileWithItsFlagsOnTheMainQueue) {
    const fs::path file = folder / "com.apple.spaces.plist";
    const fs::path sibling = folder / "other.plist";
    write(file, "first");
    FileSystemEventStream stream(deliveries.recorder(), {file}, 0);
    ASSERT_TRUE(stream.start());

    write(sibling, "not watched");
    write(file, "second");
    const std::uint32_t modified =
        kFSEventStreamEventFlagItemModified | kFSEventStreamEventFlagItemIsFile;
    ASSERT_TRUE(deliverUntil([&] { return deliveries.has(file, modified); }));
    EXPECT_FALSE(deliveries.flags.contains(sibling.string()));
    EXPECT_TRUE(deliveries.onMainThread);
    EXPECT_TRUE(std::is_sorted(deliveries.ids.begin(), deliveries.ids.end()));
    EXPECT_GT(deliveries.ids.front(), 0u);

    // Replaced by a rename, as atomic writers do: still the same watched path.
    write(folder / "temporary", "third");
    fs::rename(folder / "temporary", file);
    ASSERT_TRUE(
        deliverUntil([&] { return deliveries.has(file, kFSEventStreamEventFlagItemRenamed); }));
}

TEST_F(FileSystemEventStreamTest, ReportsTheEntriesOfAWatchedFolder) {
    FileSystemEventStream stream(deliveries.recorder(), {folder}, 0);
    ASSERT_TRUE(stream.start());
    EXPECT_TRUE(stream.start()) << "starting twice keeps the one reader";

    const fs::path created = folder / "new.txt";
    write(created, "x");
    fs::create_directory(folder / "sub");
    ASSERT_TRUE(deliverUntil([&] {
        return deliveries.has(created, kFSEventStreamEventFlagItemCreated |
                                           kFSEventStreamEventFlagItemIsFile) &&
               deliveries.has(folder / "sub", kFSEventStreamEventFlagItemCreated |
                                                  kFSEventStreamEventFlagItemIsDir);
    }));
    fs::remove(created);
    ASSERT_TRUE(
        deliverUntil([&] { return deliveries.has(created, kFSEventStreamEventFlagItemRemoved); }));
    EXPECT_EQ(stream.pathsBeingWatched(), std::vector<fs::path>{folder});
}

TEST_F(FileSystemEventStreamTest, StopsAndRefusesPathsThatCannotBeWatched) {
    FileSystemEventStream missing(deliveries.recorder(), {folders.path("nowhere/at/all/file")}, 0);
    std::string error;
    EXPECT_FALSE(missing.start(&error));
    EXPECT_NE(error.find("nowhere"), std::string::npos) << error;
    EXPECT_FALSE(missing.isStarted());

    const fs::path file = folder / "file";
    FileSystemEventStream stream(deliveries.recorder(), {file}, 0);
    ASSERT_TRUE(stream.start());
    stream.stop();
    EXPECT_FALSE(stream.isStarted());
    write(file, "after the stop");
    RunLoop::main().runUntil([] { return false; }, 0.1);
    EXPECT_EQ(deliveries.batches, 0);

    ASSERT_TRUE(stream.start());
    write(file, "after the restart");
    EXPECT_TRUE(
        deliverUntil([&] { return deliveries.has(file, kFSEventStreamEventFlagItemModified); }));
}

}  // namespace
}  // namespace zelvana::platform
