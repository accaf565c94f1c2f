#include "Logging/FileDestination.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "Logging/tests/LoggingTestSupport.hpp"
#include "platform/testing/LogCapture.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::logging {
namespace {

namespace fs = std::filesystem;
using platform::testing::LogCapture;
using test::makeEntry;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class FileDestinationTest : public ::testing::Test {
protected:
    FileDestinationTest() : log(folders.path("logs/App.log")), destination(log) {
        destination.setFormat("$M");
    }
    fs::path numbered(int index) const { return log.string() + "." + std::to_string(index); }
    void send(const std::string& message) { destination.send(makeEntry(Level::info, message)); }

    platform::testing::TemporaryFolders folders;
    fs::path log;
    FileDestination destination;
};

TEST_F(FileDestinationTest, FirstLineCreatesFolderAndFileThenAppends) {
    EXPECT_EQ(destination.defaultHashValue(), 2);
    EXPECT_EQ(destination.colorForLevel(Level::error), "");
    send("one");
    send("two");
    EXPECT_EQ(contents(log), "one\ntwo\n");
    // Opened per line, so a deleted file is simply made again.
    fs::remove(log);
    send("three");
    EXPECT_EQ(contents(log), "three\n");
    EXPECT_TRUE(destination.deleteLogFile());
    EXPECT_FALSE(fs::exists(log));
    EXPECT_TRUE(destination.deleteLogFile());
}

TEST_F(FileDestinationTest, WithoutLocationWritesIntoCachesUnderTheExecutableName) {
    platform::testing::ScopedMainBundle bundle(
        platform::PropertyDictionary{{"CFBundleExecutable", "App"}});
    FileDestination defaulted(std::nullopt);
    EXPECT_EQ(defaulted.logFileURL(), folders.cache() / "App" / "Logging.log");
    EXPECT_TRUE(fs::is_directory(folders.cache() / "App"));

    write(folders.cache() / "Blocked", "a file where a folder belongs");
    platform::testing::ScopedMainBundle blocked(
        platform::PropertyDictionary{{"CFBundleExecutable", "Blocked"}});
    LogCapture capture(LogCapture::StandardOutput);
    FileDestination fallback(std::nullopt);
    const auto printed = capture.standardOutputLines();
    EXPECT_EQ(fallback.logFileURL(), folders.cache() / "Logging.log");
    EXPECT_EQ(printed,
              std::vector<std::string>{"Warning! Could not create folder /Library/Caches/Blocked"});
}

TEST_F(FileDestinationTest, RotatesOnlyPastTheMaximumWithSeveralFiles) {
    fs::create_directories(log.parent_path());
    write(log, std::string(20, 'x'));
    destination.setLogFileMaxSize(10);
    send("no rotation with one file");
    EXPECT_FALSE(fs::exists(numbered(1)));

    destination.setLogFileAmount(3);
    write(log, "0123456789");  // exactly the maximum: kept
    write(numbered(1), "older");
    write(numbered(2), "oldest");
    send("a");
    EXPECT_EQ(contents(log), "0123456789a\n");
    send("b");
    EXPECT_EQ(contents(log), "b\n");
    EXPECT_EQ(contents(numbered(1)), "0123456789a\n");
    EXPECT_EQ(contents(numbered(2)), "older");
    EXPECT_FALSE(fs::exists(numbered(3)));
}

// A negative maximum rotates before every line; the amount caps the older
// files, and a huge amount walks only the files that are there.
TEST_F(FileDestinationTest, NegativeMaximumRotatesEveryLineKeepingAmountMinusOneOlder) {
    for (const int amount : {2, std::numeric_limits<int>::max()}) {
        SCOPED_TRACE(amount);
        for (int index : {0, 1, 2}) fs::remove(index == 0 ? log : numbered(index));
        destination.setLogFileAmount(amount);
        destination.setLogFileMaxSize(-1);
        send("first");
        send("second");
        send("third");
        EXPECT_EQ(contents(log), "third\n");
        EXPECT_EQ(contents(numbered(1)), "second\n");
        EXPECT_EQ(fs::exists(numbered(2)), amount > 2);
    }
}

TEST_F(FileDestinationTest, BareFileNameWritesInTheCurrentFolder) {
    const fs::path previous = fs::current_path();
    fs::current_path(folders.root());
    FileDestination bare(fs::path("Bare.log"));
    bare.setFormat("$M");
    bare.setLogFileAmount(2);
    bare.setLogFileMaxSize(-1);
    bare.send(makeEntry(Level::info, "one"));
    bare.send(makeEntry(Level::info, "two"));
    fs::current_path(previous);
    EXPECT_EQ(contents(folders.root() / "Bare.log"), "two\n");
    EXPECT_EQ(contents(folders.root() / "Bare.log.1"), "one\n");
}

TEST_F(FileDestinationTest, BlockedRotationStepStopsWithoutOverwriting) {
    destination.setLogFileAmount(3);
    destination.setLogFileMaxSize(1);
    fs::create_directories(log.parent_path());
    write(log, "current\n");
    write(numbered(1), "keep me");
    // A dangling link at ".2" is not a file to remove, yet the name is taken.
    fs::create_symlink(folders.path("nowhere"), numbered(2));
    LogCapture capture(LogCapture::StandardOutput);
    send("next");
    const auto printed = capture.standardOutputLines();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_TRUE(printed[0].starts_with("rotateFile error: ")) << printed[0];
    EXPECT_EQ(contents(numbered(1)), "keep me");
    EXPECT_TRUE(fs::is_symlink(numbered(2)));
    EXPECT_EQ(contents(log), "current\nnext\n");
}

TEST_F(FileDestinationTest, UnwritablePlacesPrintAndDropTheLine) {
    write(folders.path("logs"), "a file where the folder belongs");
    LogCapture capture(LogCapture::StandardOutput);
    const auto returned = destination.send(makeEntry(Level::info, "lost"));
    EXPECT_FALSE(destination.validateSaveFile("lost too"));

    FileDestination directory(folders.root());
    directory.setLogFileAmount(2);
    EXPECT_FALSE(directory.validateSaveFile("into a folder"));
    const auto printed = capture.standardOutputLines();
    EXPECT_EQ(returned, "lost");
    const std::string failure = "Logging File Destination could not write to file file://";
    ASSERT_EQ(printed.size(), 4u);
    EXPECT_EQ(printed[0], failure + log.string() + ".");
    EXPECT_EQ(printed[1], printed[0]);
    EXPECT_TRUE(printed[2].starts_with("validateSaveFile error: "));
    EXPECT_EQ(printed[3], failure + folders.root().string() + ".");
}

TEST_F(FileDestinationTest, ColouredAndJsonLines) {
    destination.setFormat("$C$L$c");
    destination.setColored(true);
    destination.send(makeEntry(Level::debug));
    destination.setColored(false);
    destination.send(makeEntry(Level::debug));
    destination.setFormat("$J");
    destination.send(makeEntry(Level::warning, "json"));
    std::istringstream lines(contents(log));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "\x1B[38;5;35mDEBUG\x1B[0m");
    std::getline(lines, line);
    EXPECT_EQ(line, "DEBUG");
    std::getline(lines, line);
    EXPECT_EQ(nlohmann::json::parse(line)["message"], "json");
}

}  // namespace
}  // namespace zelvana::logging
