#include "Zelvana/FileSystemMonitor.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/dispatch/RunLoop.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::core {
namespace {

namespace fs = std::filesystem;

struct RecordingDelegate : FileSystemMonitorDelegate {
    void filesChanged(const std::vector<FileEvent>& events) override { batches.push_back(events); }
    std::vector<std::vector<FileEvent>> batches;
};

TEST(FileEventFlagTest, NamesItsMembersByTheirStreamNumbers) {
    EXPECT_EQ(debugDescription(FileEventFlags::fromRaw(4352)), "itemCreated, itemModified");
    EXPECT_EQ(debugDescription(FileEventFlags()), "none");
    EXPECT_EQ(debugDescription(FileEventFlags::fromRaw(4194304 | 1)),
              "mustScanSubDirs, itemCloned");
    EXPECT_EQ(fileEventFlagName(65536), "itemIsFile");
    EXPECT_EQ(fileEventFlagName(0), "none");
    EXPECT_EQ(fileEventFlagName(4097), "Unknown option: 4097");
    ASSERT_EQ(allFileEventFlags().size(), 24u);
    EXPECT_EQ(allFileEventFlags().back().name, "itemCloned");
    EXPECT_EQ((FileEventFlag::itemCreated | FileEventFlag::itemModified).rawValue(), 4352);
}

TEST(FileSystemMonitorTest, TurnsABatchIntoEventsWithoutFinderFiles) {
    FileSystemMonitor monitor;
    RecordingDelegate delegate;
    monitor.setDelegate(&delegate);

    const std::vector<std::string> paths{"/p/a.plist", "/p/.DS_Store", "/p/b"};
    const std::vector<std::uint32_t> flags{4096 | 65536, 4096, 256};
    const std::vector<std::uint64_t> ids{10, 11, 12};
    monitor.handleEvents(3, paths, flags, ids);
    ASSERT_EQ(delegate.batches.size(), 1u);
    EXPECT_EQ(delegate.batches[0],
              (std::vector<FileEvent>{{"/p/a.plist", 69632, 10, FileEventFlags::fromRaw(69632)},
                                      {"/p/b", 256, 12, FileEventFlag::itemCreated}}));

    monitor.handleEvents(1, std::span(paths).subspan(1), flags, ids);
    ASSERT_EQ(delegate.batches.size(), 2u);
    EXPECT_TRUE(delegate.batches[1].empty()) << "only a Finder file: an empty list";

    monitor.handleEvents(0, paths, flags, ids);
    monitor.handleEvents(4, paths, flags, ids);
    EXPECT_EQ(delegate.batches.size(), 2u) << "no events, or fewer paths than events";
    EXPECT_FALSE(monitor.hasStream());
}

TEST(FileSystemMonitorTest, DeliversRealModificationsOfTheMonitoredFiles) {
    platform::testing::TemporaryFolders folders;
    const fs::path file = folders.path("watched.plist");
    std::ofstream(file) << "one";
    RecordingDelegate delegate;
    {
        FileSystemMonitor monitor;
        monitor.setDelegate(&delegate);
        monitor.setMonitoredURLs({file});
        ASSERT_TRUE(monitor.start(0));
        EXPECT_TRUE(monitor.hasStream());
        std::ofstream(file, std::ios::app) << "two";
        const auto modified = [&] {
            for (const auto& batch : delegate.batches) {
                for (const auto& event : batch) {
                    if (event.path == file && event.flag.contains(FileEventFlag::itemModified))
                        return true;
                }
            }
            return false;
        };
        EXPECT_TRUE(platform::RunLoop::main().runUntil(modified, 2.0));
    }
    const auto delivered = delegate.batches.size();
    std::ofstream(file, std::ios::app) << "three";
    platform::RunLoop::main().runUntil([] { return false; }, 0.05);
    EXPECT_EQ(delegate.batches.size(), delivered) << "the stream stopped with its monitor";
}

}  // namespace
}  // namespace zelvana::core
