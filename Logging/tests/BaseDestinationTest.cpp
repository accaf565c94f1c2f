#include "Logging/BaseDestination.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <stdexcept>
#include <thread>

#include "Logging/tests/LoggingTestSupport.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/testing/LogCapture.hpp"

namespace zelvana::logging {
namespace {

using platform::Date;
using platform::VirtualClock;
using platform::testing::LogCapture;
using test::makeEntry;

struct Opaque {};

std::string render(BaseDestination& destination, const std::string& format,
                   const LogEntry& entry = makeEntry()) {
    return destination.formatMessage(format, entry);
}

TEST(BaseDestinationFormat, DefaultFormatRendersTimeLevelPlaceAndMessage) {
    VirtualClock clock;
    BaseDestination destination;
    platform::DateFormatter timeOfDay;
    timeOfDay.setDateFormat("HH:mm:ss.SSS");
    EXPECT_EQ(destination.format(), "$DHH:mm:ss.SSS$d $C$L$c $N.$F:$l - $M");
    EXPECT_EQ(destination.send(makeEntry()),
              timeOfDay.string(Date::now()) + " INFO Launcher.launch():42 - ready");
}

TEST(BaseDestinationFormat, TokensRenderTheirPartOfTheEntry) {
    BaseDestination destination;
    LogEntry entry = makeEntry(Level::debug, "hi");
    entry.thread = "worker";
    EXPECT_EQ(render(destination, "$L|$M|$T|$N|$n|$F|$l", entry),
              "DEBUG|hi|worker|Launcher|Launcher.txt|launch()|42");
    destination.setLevelColor({"v", "d", "i", "w", "e"});
    destination.setEscape("<");
    destination.setReset(">");
    EXPECT_EQ(render(destination, "$C$L$c!", entry), "<dDEBUG>!");
    entry.file = "a.b.c";
    EXPECT_EQ(render(destination, "$N|$n", entry), "a|a.b.c");
    entry.file = "/src/";
    EXPECT_EQ(render(destination, "[$N|$n]", entry), "[|]");
}

TEST(BaseDestinationFormat, PlainTextEmptyPhrasesAndUnknownTokens) {
    BaseDestination destination;
    EXPECT_EQ(render(destination, ""), "");
    EXPECT_EQ(render(destination, "plain text"), "plain text");
    EXPECT_EQ(render(destination, "a$$b"), "ab");
    EXPECT_EQ(render(destination, "abc$"), "abc");
    EXPECT_EQ(render(destination, "x$Iy"), "xy");
    EXPECT_EQ(render(destination, "$Q"), "Q");
    EXPECT_EQ(render(destination, "$-M"), "-M");
    EXPECT_EQ(render(destination, "$JM"), "JM");
    EXPECT_EQ(render(destination, "$M$12"), "ready12");
    EXPECT_EQ(render(destination, "$-5$M"), "-5ready");
}

TEST(BaseDestinationFormat, WidthsPadWithoutCutting) {
    BaseDestination destination;
    const auto warning = makeEntry(Level::warning);
    EXPECT_EQ(render(destination, "$-8L|", warning), "WARNING |");
    EXPECT_EQ(render(destination, "$8L|", warning), " WARNING|");
    EXPECT_EQ(render(destination, "$3L", warning), "WARNING");
    EXPECT_EQ(render(destination, "$-3M|", makeEntry(Level::info, "\u00e9")), "\u00e9  |");
    EXPECT_EQ(render(destination, "$4l|"), "  42|");
    EXPECT_EQ(render(destination, "$99999999999999999999M"), "99999999999999999999M");
    // Beyond any sensible line a width counts as none rather than a huge allocation.
    EXPECT_EQ(render(destination, "$1000001M"), "1000001M");
    EXPECT_EQ(render(destination, "$1000000M|").size(), 1000001u);
}

TEST(BaseDestinationFormat, TrailingWhitespaceIsRemovedOnlyAtTheEnd) {
    BaseDestination destination;
    EXPECT_EQ(render(destination, "$M   ", makeEntry(Level::info, "x")), "x");
    EXPECT_EQ(render(destination, "$M", makeEntry(Level::info, "x\n")), "x");
    EXPECT_EQ(render(destination, " $M\t $L", makeEntry(Level::info, "x")), " x\t INFO");
}

TEST(BaseDestinationFormat, TrailingUnicodeWhitespaceGoesAsTheRegularExpressionWould) {
    BaseDestination destination;
    // No-break space, ideographic space, line separator: all "\s".
    EXPECT_EQ(render(destination, "$M", makeEntry(Level::info, "x\u00a0\u3000\u2028")), "x");
    EXPECT_EQ(render(destination, "$M", makeEntry(Level::info, "a\u3000b")), "a\u3000b");
    // A line of white space alone renders as nothing.
    EXPECT_EQ(render(destination, "$M", makeEntry(Level::info, " \t\u3000\n")), "");
    EXPECT_EQ(render(destination, "  \t "), "");
    // A broken character at the end is not white space.
    EXPECT_EQ(render(destination, "$M", makeEntry(Level::info, "x\xE3\x80")), "x\xE3\x80");
}

TEST(BaseDestinationFormat, AWholeLineStaysBelowAMegabyte) {
    BaseDestination destination;
    const std::string widths = "$1000000M$1000000M$1000000M$1000000M|";
    const auto padded = render(destination, widths);
    EXPECT_GE(padded.size(), 1'000'000u);
    EXPECT_LE(padded.size(), 1'048'576u);
    // A long message is cut between characters, never inside one.
    const auto cut = render(destination, "$M",
                            makeEntry(Level::info, std::string(1'500'000, 'a') + "\u00e9\u00e9"));
    EXPECT_LE(cut.size(), 1'048'576u);
    const auto accents = render(destination, "x$M", makeEntry(Level::info, [] {
                                    std::string text;
                                    for (int i = 0; i < 600'000; ++i) text += "\u00e9";
                                    return text;
                                }()));
    EXPECT_LE(accents.size(), 1'048'576u);
    EXPECT_EQ(accents.size() % 2, 1u) << "a two-byte character was split";
    // The next line owes nothing to the long ones before it.
    EXPECT_EQ(render(destination, "$M.", makeEntry(Level::info, "short")), "short.");
}

TEST(BaseDestinationFormat, ContextRendersAsTrimmedText) {
    BaseDestination destination;
    LogEntry entry = makeEntry();
    EXPECT_EQ(render(destination, "$X", entry), "");
    EXPECT_EQ(render(destination, "$5X|", entry), "     |");
    entry.context = std::string("\u3000 spaced out \n\u00a0");
    EXPECT_EQ(render(destination, "[$X]", entry), "[spaced out]");
    entry.context = 42;
    EXPECT_EQ(render(destination, "$-4X|", entry), "42  |");
    entry.context = 2.5;
    EXPECT_EQ(render(destination, "$X", entry), "2.5");
    entry.context = Opaque{};
    EXPECT_NE(render(destination, "$X", entry).find("Opaque"), std::string::npos);
}

TEST(BaseDestinationFormat, DatesUseOneFormatterWhoseZoneSticks) {
    test::ScopedEnvironment tz("TZ", "Asia/Tokyo");
    VirtualClock clock;  // 2026-05-09 06:13:20 UTC
    BaseDestination destination;
    EXPECT_EQ(render(destination, "$Dyyyy$d"), "2026");
    EXPECT_EQ(render(destination, "$DHH$d"), "15");
    EXPECT_EQ(render(destination, "$ZHH$z $DHH$d"), "06 06");
    // "$Z" left the formatter in UTC for later lines too.
    EXPECT_EQ(render(destination, "$DHH:mm$d!"), "06:13!");
    EXPECT_EQ(destination.formatDate("HH", "NOPE"), "15");
    clock.advance(60'000);
    EXPECT_EQ(render(destination, "$Dmm$d"), "14");
}

// A line renders its date from the text of the current second; each line
// must still read as that moment does.
TEST(BaseDestinationFormat, DatesStayRightAcrossSecondsZonesAndPatterns) {
    test::ScopedEnvironment tz("TZ", "Asia/Tokyo");
    VirtualClock clock;  // 2026-05-09 06:13:20 UTC
    BaseDestination destination;
    auto line = [&](const std::string& format) {
        destination.setFormat(format);
        return *destination.send(makeEntry());
    };
    const std::string time = "$DHH:mm:ss.SSS$d $M";
    EXPECT_EQ(line(time), "15:13:20.000 ready");
    clock.advance(999);
    EXPECT_EQ(line(time), "15:13:20.999 ready");
    clock.advance(1);
    EXPECT_EQ(line(time), "15:13:21.000 ready");
    clock.advance(38'999);
    EXPECT_EQ(line(time), "15:13:59.999 ready");
    clock.advance(1);
    EXPECT_EQ(line(time), "15:14:00.000 ready");
    // Within that second "$Z" moves the formatter, and every date follows it.
    EXPECT_EQ(line("$ZHH:mm:ss.SSS$z $DHH$d"), "06:14:00.000 06");
    EXPECT_EQ(line(time), "06:14:00.000 ready");
    destination.formatDate("HH", "JST");
    EXPECT_EQ(line(time), "15:14:00.000 ready");
    clock.advance(123);
    EXPECT_EQ(line("$Dss.S|ss.SS|ss.SSSS$d"), "00.1|00.12|00.1230");
    EXPECT_EQ(line("$D'S''' S$d"), "S' 1");
    EXPECT_EQ(line("$ZA$z"), "22440123");  // milliseconds in the day
}

TEST(BaseDestinationFormat, DatesReadAsTheFormatterRendersThem) {
    test::ScopedEnvironment tz("TZ", "America/St_Johns");
    BaseDestination destination;
    const std::vector<std::string> patterns = {
        "HH:mm:ss.SSS",  "s.S", "s.SS", "s.SSSSS", "yyyy-MM-dd'T'HH:mm:ss.SSSZZZZZ",
        "h 'o''clock' a"};
    // Sub-millisecond parts, and moments before 1970 that count down.
    for (const double moment : {800000000.0, 800000000.0005, 800000000.0999, 800000000.9995,
                                -1e9 + 0.25, -1e9 - 0.0005, 800000000.001}) {
        VirtualClock clock(moment);
        for (const auto& pattern : patterns) {
            platform::DateFormatter reference;
            reference.setDateFormat(pattern);
            EXPECT_EQ(render(destination, "$D" + pattern + "$d"), reference.string(Date::now()))
                << pattern << " at " << moment;
        }
    }
}

TEST(BaseDestinationFormat, UptimeCountsFromCreation) {
    VirtualClock clock;
    BaseDestination destination;
    EXPECT_EQ(destination.uptime(), "00:00:00.000");
    clock.advance(3'725'500);
    EXPECT_EQ(destination.uptime(), "01:02:05.500");
    EXPECT_EQ(render(destination, "[$U]"), "[01:02:05.500]");
    clock.advance(100.0 * 3600 * 1000);
    EXPECT_EQ(destination.uptime(), "101:02:05.500");
}

TEST(BaseDestinationFormat, JsonFormatRendersOneObject) {
    VirtualClock clock;
    BaseDestination destination;
    destination.setFormat("$J ignored $M");
    auto entry = makeEntry(Level::error, "boom");
    auto json = nlohmann::json::parse(*destination.send(entry));
    EXPECT_EQ(json["level"], 4);
    EXPECT_EQ(json["message"], "boom");
    EXPECT_EQ(json["file"], "/src/app/Launcher.txt");
    EXPECT_EQ(json["function"], "launch()");
    EXPECT_EQ(json["line"], 42);
    EXPECT_EQ(json["thread"], "");
    EXPECT_DOUBLE_EQ(json["timestamp"].get<double>(), Date::now().timeIntervalSince1970());
    EXPECT_FALSE(json.contains("context"));
    entry.context = true;
    EXPECT_EQ(nlohmann::json::parse(*destination.send(entry))["context"], true);

    entry.context = Opaque{};
    LogCapture capture(LogCapture::StandardOutput);
    const auto failed = destination.send(entry);
    const auto printed = capture.standardOutputLines();
    EXPECT_FALSE(failed);
    EXPECT_EQ(printed, std::vector<std::string>{"Logging could not create JSON from dict."});
}

TEST(BaseDestinationIdentity, QueueHashAndEquality) {
    BaseDestination first;
    BaseDestination second;
    const std::regex label(
        "Logging-queue-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    ASSERT_NE(first.queue(), nullptr);
    EXPECT_TRUE(std::regex_match(first.queue()->label(), label));
    EXPECT_NE(first.queue()->label(), second.queue()->label());
    EXPECT_EQ(first.defaultHashValue(), 0);
    EXPECT_EQ(first.hashValue(), second.hashValue());
    EXPECT_EQ(first.minLevel(), Level::verbose);
    EXPECT_TRUE(first.asynchronously());
    EXPECT_EQ(first.levelString()[Level::warning], "WARNING");
    EXPECT_EQ(first.colorForLevel(Level::error), "");
}

TEST(BaseDestinationQueue, ExecuteRunsOnTheQueueAndNeverWaitsOnItself) {
    BaseDestination destination;
    const auto label = destination.queue()->label();
    std::optional<std::string> seen;
    destination.execute(BaseDestination::Execution::sync,
                        [&] { seen = platform::DispatchQueue::currentLabel(); });
    EXPECT_EQ(seen, label);

    // Synchronous work handed to the queue from its own work runs inline.
    bool inner = false;
    destination.execute(BaseDestination::Execution::sync, [&] {
        destination.execute(BaseDestination::Execution::sync, [&] { inner = true; });
    });
    EXPECT_TRUE(inner);

    int ran = 0;
    destination.execute(BaseDestination::Execution::async, [&] { ++ran; });
    EXPECT_EQ(destination.executeSynchronously([&] { return ran + 1; }), 2);
    EXPECT_EQ(destination.executeSynchronously(
                  [&] { return destination.executeSynchronously([] { return 7; }); }),
              7);
    EXPECT_THROW(destination.executeSynchronously([]() -> int { throw std::runtime_error("x"); }),
                 std::runtime_error);
}

}  // namespace
}  // namespace zelvana::logging
