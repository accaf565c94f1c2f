#include "Logging/ConsoleDestination.hpp"

#include <gtest/gtest.h>

#include "Logging/tests/LoggingTestSupport.hpp"
#include "platform/testing/LogCapture.hpp"
#include "platform/testing/ScopedMainBundle.hpp"

namespace zelvana::logging {
namespace {

using platform::LogType;
using platform::testing::LogCapture;
using test::makeEntry;

TEST(ConsoleDestination, ColourSetsFollowUseTerminalColors) {
    ConsoleDestination console;
    console.setFormat("$C$L$c");
    EXPECT_EQ(console.defaultHashValue(), 1);
    EXPECT_EQ(console.formatMessage("$C", makeEntry(Level::verbose)), "\U0001F7EA");
    EXPECT_EQ(console.formatMessage("$C|", makeEntry(Level::error)), "\U0001F7E5 |");
    EXPECT_EQ(console.colorForLevel(Level::info), "\U0001F7E6 ");

    console.setUseTerminalColors(true);
    EXPECT_EQ(console.formatMessage(console.format(), makeEntry(Level::error)),
              "\x1B[38;5;197mERROR\x1B[0m");
    EXPECT_EQ(console.colorForLevel(Level::warning), "178m");
    console.setUseTerminalColors(false);
    EXPECT_EQ(console.formatMessage(console.format(), makeEntry(Level::error)), "\U0001F7E5 ERROR");
}

TEST(ConsoleDestination, BundleIdBecomesTheUnifiedLogPrefix) {
    {
        platform::testing::ScopedMainBundle bundle(
            platform::PropertyDictionary{{"CFBundleIdentifier", "com.example.App"}});
        EXPECT_EQ(ConsoleDestination().loggableBundleId(), "com-example-App ");
    }
    platform::testing::ScopedMainBundle anonymous(platform::PropertyDictionary{});
    ConsoleDestination console;
    EXPECT_EQ(console.loggableBundleId(), "");
    console.setBundleId("a.b.c");
    EXPECT_EQ(console.bundleId(), "a.b.c");
    EXPECT_EQ(console.loggableBundleId(), "a-b-c ");
    console.setBundleId("");
    EXPECT_EQ(console.loggableBundleId(), " ");
}

TEST(ConsoleDestination, UnifiedLogComesFirstWithTheLevelsType) {
    ConsoleDestination console;
    console.setFormat("$L $M");
    console.setBundleId("com.quorrim.Zelvana");
    console.setUseMacConsole(true);
    console.setUseNSLog(true);
    LogCapture capture(LogCapture::StandardOutput | LogCapture::StandardError);
    EXPECT_EQ(console.send(makeEntry(Level::verbose, "v")), "VERBOSE v");
    console.send(makeEntry(Level::debug, "d"));
    console.send(makeEntry(Level::info, "i"));
    console.send(makeEntry(Level::warning, "w"));
    console.send(makeEntry(Level::error, "e"));
    const auto entries = capture.entries();
    const auto printed = capture.standardOutput() + capture.standardError();
    ASSERT_EQ(entries.size(), 5u);
    const LogType types[] = {LogType::Debug, LogType::Debug, LogType::Info, LogType::Info,
                             LogType::Error};
    for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].type, types[i]);
    EXPECT_EQ(entries[0].message, "com-quorrim-Zelvana VERBOSE v");
    EXPECT_EQ(printed, "");  // NSLog was not used
}

TEST(ConsoleDestination, NSLogThenStandardOutput) {
    ConsoleDestination console;
    console.setFormat("$M  ");
    console.setUseNSLog(true);
    LogCapture capture(LogCapture::StandardOutput | LogCapture::StandardError);
    console.send(makeEntry(Level::info, "via nslog"));
    console.setUseNSLog(false);
    const auto returned = console.send(makeEntry(Level::info, "plain"));
    console.setFormat("$J");
    console.send(makeEntry(Level::info, "\xFF"));  // not UTF-8: no JSON, nothing written
    const auto out = capture.standardOutputLines();
    const auto err = capture.standardErrorLines();
    const auto entries = capture.entries();
    EXPECT_EQ(returned, "plain");
    EXPECT_EQ(out, (std::vector<std::string>{"plain", "Logging could not create JSON from dict."}));
    ASSERT_EQ(err.size(), 1u);
    EXPECT_TRUE(err[0].ends_with(" via nslog"));
    EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace zelvana::logging
