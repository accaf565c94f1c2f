#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/FileManager.hpp"
#include "platform/simulator/SavedFiles.hpp"
#include "platform/testing/LogCapture.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

TEST(SavedFilesTest, WritesLandInOrderBeforeAReadAndFailuresAreLogged) {
    testing::TemporaryFolders folders;
    testing::LogCapture log;
    const auto file = folders.path("state") / "windows.json";
    SavedFiles::write(
        file, [] { return std::string("first"); }, "Windows not saved");
    SavedFiles::write(
        file, [] { return std::string("newest"); }, "Windows not saved");
    SavedFiles::waitForWrites();
    EXPECT_EQ(FileManager::defaultManager().contentsAtPath(file), "newest");

    // A folder where the file should be: the text has nowhere to go.
    FileManager::defaultManager().createDirectory(folders.path("taken"), true);
    SavedFiles::write(
        folders.path("taken"), [] { return std::string("lost"); }, "Desktop not saved");
    SavedFiles::waitForWrites();
    EXPECT_TRUE(log.hasMessageContaining("Desktop not saved: "))
        << ::testing::PrintToString(log.messages());
}

}  // namespace
}  // namespace zelvana::platform
