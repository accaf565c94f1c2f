#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatch/Clock.hpp"
#include "platform/system/UnifiedLog.hpp"
#include "platform/testing/LogCapture.hpp"

namespace zelvana::platform {
namespace {

using testing::LogCapture;

// Runs the test in UTC so dates can be compared as text.
class UtcZone {
public:
    UtcZone() {
        if (const char* tz = std::getenv("TZ")) saved_ = tz;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~UtcZone() {
        if (saved_) {
            ::setenv("TZ", saved_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> saved_;
};

const std::string kProcess = std::filesystem::read_symlink("/proc/self/exe").filename().string();
const std::string kPid = std::to_string(::getpid());

TEST(UnifiedLogTest, SinkSeesEachEntryWithItsTypeAndExecutable) {
    LogCapture capture;
    UnifiedLog::write(LogType::Info, "com-example-App hello");
    UnifiedLog::write(LogType::Error, "broken");
    UnifiedLog::write(LogType::Debug, "");
    const auto entries = capture.entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].type, LogType::Info);
    EXPECT_EQ(entries[0].subsystem, kProcess);
    EXPECT_EQ(entries[0].message, "com-example-App hello");
    EXPECT_EQ(entries[1].type, LogType::Error);
    EXPECT_EQ(entries[2].type, LogType::Debug);
    EXPECT_TRUE(capture.hasMessageContaining("hello"));
    EXPECT_FALSE(capture.hasMessageContaining("absent"));
    capture.clear();
    EXPECT_TRUE(capture.entries().empty());
}

TEST(UnifiedLogTest, NestedCapturesRestoreTheOuterSink) {
    LogCapture outer;
    {
        LogCapture inner;
        UnifiedLog::write(LogType::Default, "inner");
        EXPECT_EQ(inner.messages(), std::vector<std::string>{"inner"});
    }
    UnifiedLog::write(LogType::Default, "outer");
    EXPECT_EQ(outer.messages(), std::vector<std::string>{"outer"});
}

TEST(UnifiedLogTest, WithoutASinkLinesGoToStandardErrorDatedByTheClock) {
    UtcZone utc;
    VirtualClock clock(800000000.25);  // 2026-05-09 06:13:20.250 UTC
    LogCapture capture(LogCapture::StandardError);
    UnifiedLog::setSinkForTesting({});  // the default outlet, inside the capture
    UnifiedLog::write(LogType::Fault, "it broke");
    NSLog("plain\n");
    const auto lines = capture.standardErrorLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "2026-05-09T06:13:20.250+0000 " + kProcess + "[" + kPid + "] Fault: it broke");
    const std::regex nsLog("2026-05-09 06:13:20\\.250 " + kProcess + "\\[" + kPid +
                           ":\\d+\\] plain");
    EXPECT_TRUE(std::regex_match(lines[1], nsLog)) << lines[1];
}

TEST(UnifiedLogTest, ConcurrentNSLogLinesNeverInterleave) {
    LogCapture capture(LogCapture::StandardError);
    constexpr int kThreads = 8;
    constexpr int kLines = 200;
    const std::string payload(300, 'x');
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kLines; ++i) NSLog(std::to_string(t) + " " + payload);
        });
    }
    for (auto& thread : threads) thread.join();
    const auto lines = capture.standardErrorLines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines));
    const std::regex shape(".* " + kProcess + "\\[\\d+:\\d+\\] \\d x{300}");
    for (const auto& line : lines) ASSERT_TRUE(std::regex_match(line, shape)) << line;
}

TEST(LogCaptureTest, CapturesStandardOutputAtTheDescriptorAndPutsItBack) {
    std::string captured;
    {
        LogCapture capture(LogCapture::StandardOutput | LogCapture::StandardError);
        std::printf("from printf\n");
        std::cout << "from cout" << std::endl;
        ssize_t written = ::write(STDOUT_FILENO, "raw", 3);
        EXPECT_EQ(written, 3);
        captured = capture.standardOutput();
        std::cerr << "to stderr\n";
        EXPECT_EQ(capture.standardErrorLines(), std::vector<std::string>{"to stderr"});
        capture.clear();
        std::printf("after clear\n");
        EXPECT_EQ(capture.standardOutputLines(), std::vector<std::string>{"after clear"});
    }
    EXPECT_EQ(captured, "from printf\nfrom cout\nraw");
    LogCapture logOnly;
    EXPECT_EQ(logOnly.standardOutput(), "");
}

}  // namespace
}  // namespace zelvana::platform
