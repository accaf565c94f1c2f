#include "Logging/BundleFinder.hpp"

#include <gtest/gtest.h>

#include "Logging/Diagnostics.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::logging {
namespace {

namespace fs = std::filesystem;

TEST(BundleFinder, FirstCandidateHoldingTheBundleWins) {
    platform::testing::TemporaryFolders folders;
    const fs::path empty = folders.path("empty");
    const fs::path second = folders.path("second");
    const fs::path third = folders.path("third");
    for (const auto& folder : {empty, second, third}) {
        fs::create_directories(folder);
    }
    fs::create_directories(second / "Logging_Logging.bundle" / "Contents");
    fs::create_directories(third / "Logging_Logging.bundle" / "Contents");
    auto found = BundleFinder::find({"", folders.path("missing"), empty, second, third});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->bundlePath(), second / "Logging_Logging.bundle");
    EXPECT_FALSE(BundleFinder::find({empty, folders.path("missing")}));
}

TEST(BundleFinder, CandidatesAreMainResourcesExecutableFolderThenMainBundle) {
    platform::testing::ScopedMainBundle bundle(platform::PropertyDictionary{});
    const auto folders = BundleFinder::candidateFolders();
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], bundle.resourcePath());
    EXPECT_EQ(folders[1], fs::read_symlink("/proc/self/exe").parent_path());
    EXPECT_EQ(folders[2], bundle.bundlePath());
    // The tests' copy lies beside their executable.
    EXPECT_EQ(loggingResourceBundle().bundlePath(), folders[1] / "Logging_Logging.bundle");
    EXPECT_EQ(&loggingResourceBundle(), &loggingResourceBundle());
}

TEST(BundleFinderDeathTest, FatalErrorsStopWithTheirMessageOnStandardError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(fatalError("unable to find bundle named Logging_Logging"),
                 "unable to find bundle named Logging_Logging");
}

}  // namespace
}  // namespace zelvana::logging
