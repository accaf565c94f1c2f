#include "Logging/Logging.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "Logging/ConsoleDestination.hpp"
#include "Logging/FileDestination.hpp"
#include "Logging/Filters.hpp"
#include "Logging/LogViewController.hpp"
#include "Logging/LogWindowController.hpp"
#include "Logging/WindowDestination.hpp"
#include "Logging/tests/LoggingTestSupport.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/testing/LogCapture.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::logging {
namespace {

namespace fs = std::filesystem;
using platform::PropertyDictionary;
using platform::testing::LogCapture;
using platform::testing::ScopedMainBundle;
using platform::testing::TemporaryFolders;
using test::RecordingDestination;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Point {
    int x, y;
    friend std::ostream& operator<<(std::ostream& out, const Point& p) {
        return out << "(" << p.x << ", " << p.y << ")";
    }
};

// clang-format off
void launch(int) { Logging::warning("from launch"); } const int kLaunchLine = __LINE__;
// clang-format on

class LoggingFacade : public ::testing::Test {
protected:
    std::shared_ptr<RecordingDestination> record(Level minLevel = Level::verbose) {
        auto destination = std::make_shared<RecordingDestination>();
        destination->setMinLevel(minLevel);
        Logging::addDestination(destination);
        return destination;
    }
    test::FacadeReset reset;
};

TEST_F(LoggingFacade, DestinationsAreASetByIdentity) {
    auto first = std::make_shared<ConsoleDestination>();
    auto second = std::make_shared<ConsoleDestination>();
    auto file = std::make_shared<FileDestination>(fs::path("/nonexistent/x.log"));
    EXPECT_TRUE(Logging::addDestination(first));
    EXPECT_FALSE(Logging::addDestination(first));
    EXPECT_TRUE(Logging::addDestination(second));
    EXPECT_TRUE(Logging::addDestination(file));
    EXPECT_EQ(Logging::countDestinations(), 3);

    Logging::setMinLevel(Level::error);
    EXPECT_EQ(first->minLevel(), Level::error);
    EXPECT_EQ(file->minLevel(), Level::error);
    Logging::removeFileDestinations();
    EXPECT_EQ(Logging::countDestinations(), 2);
    EXPECT_FALSE(Logging::removeDestination(file));
    EXPECT_TRUE(Logging::removeDestination(first));
    Logging::removeAllDestinations();
    EXPECT_EQ(Logging::countDestinations(), 0);
}

TEST_F(LoggingFacade, MessageRunsOnlyForDestinationsThatTakeIt) {
    auto errorsOnly = record(Level::error);
    int runs = 0;
    auto message = [&] { return "run " + std::to_string(++runs); };
    Logging::debug(message);
    EXPECT_EQ(runs, 0);

    auto everything = record();
    Logging::error(message);
    EXPECT_EQ(runs, 2);  // rendered per accepting destination

    // With message filters the text is made once, before deciding, and shared.
    errorsOnly->addFilter(MessageFilterFactory::contains({"run"}));
    everything->addFilter(
        MessageFilterFactory::contains({"nothing like it"}, CaseSensitive::no, Required::yes));
    Logging::verbose(message);
    EXPECT_EQ(runs, 3);
    Logging::flush();
    EXPECT_EQ(everything->entries().size(), 1u);
    ASSERT_EQ(errorsOnly->entries().size(), 2u);
    EXPECT_EQ(errorsOnly->entries().back().message, "run 3");
}

TEST_F(LoggingFacade, LevelsAndFiltersChangedAfterAddingDecideAtOnce) {
    auto member = record(Level::error);
    Logging::info("below the level");
    member->setMinLevel(Level::info);
    Logging::info("taken on level");
    member->setMinLevel(Level::error);
    member->addFilter(MessageFilterFactory::contains({"wanted"}, CaseSensitive::no, Required::yes));
    Logging::verbose("wanted below the level");
    Logging::verbose("not this one");
    Logging::flush();
    std::vector<std::string> messages;
    for (const auto& entry : member->entries()) messages.push_back(entry.message);
    EXPECT_EQ(messages, (std::vector<std::string>{"taken on level", "wanted below the level"}));
}

TEST_F(LoggingFacade, ValuesOfAnyPrintableTypeBecomeText) {
    auto destination = record();
    Logging::info(42);
    Logging::info(2.5);
    Logging::info(true);
    Logging::info(Point{1, 2});
    Logging::info([] { return 7; });
    const std::string kept = "kept";
    Logging::info(kept);
    Logging::flush();
    std::vector<std::string> messages;
    for (const auto& entry : destination->entries()) messages.push_back(entry.message);
    EXPECT_EQ(messages, (std::vector<std::string>{"42", "2.5", "true", "(1, 2)", "7", "kept"}));
}

TEST_F(LoggingFacade, CallSiteIsCapturedAndFunctionShortenedForSending) {
    auto destination = record();
    destination->addFilter(FunctionFilterFactory::equals({"launchMainApp(relaunch:)"},
                                                         CaseSensitive::yes, Required::yes));
    Logging::info("seen", "/src/Helper.swift", "launchMainApp(relaunch:)", 7);
    Logging::info("filtered out", "/src/Helper.swift", "launchMainApp()", 8);
    destination->setFilters({});
    Logging::custom(Level::debug, "bare", "/src/Helper.swift", "receivePong", 9);
    launch(1);
    Logging::flush();
    const auto entries = destination->entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].function, "launchMainApp()");
    EXPECT_EQ(entries[0].line, 7);
    EXPECT_EQ(entries[1].function, "receivePong()");
    EXPECT_EQ(entries[1].level, Level::debug);
    EXPECT_EQ(entries[2].function, "launch()");
    EXPECT_EQ(entries[2].file, __FILE__);
    EXPECT_EQ(entries[2].line, kLaunchLine);
    EXPECT_EQ(entries[2].level, Level::warning);
}

TEST(LoggingSignature, SourceLocationNamesBecomeUnqualifiedSignatures) {
    EXPECT_EQ(Logging::callerSignature("void zelvana::App::launch(int) const"), "launch(int)");
    EXPECT_EQ(Logging::callerSignature("int main()"), "main()");
    EXPECT_EQ(Logging::callerSignature("void a::b::C::f(T, int*) [with T = double]"), "f(T, int*)");
    EXPECT_EQ(Logging::callerSignature("a::b::C::f<double>(double, int*)::<lambda()>"),
              "f<double>(double, int*)");
    EXPECT_EQ(Logging::callerSignature("bool a::C::operator()(int) const"), "operator()(int)");
    EXPECT_EQ(Logging::callerSignature("static std::map<int, a::B> a::C::g(std::pair<int, int>)"),
              "g(std::pair<int, int>)");
    EXPECT_EQ(Logging::callerSignature("noParentheses"), "noParentheses");
    EXPECT_EQ(Logging::shortenedFunction("f<double>(double, int*)"), "f<double>()");
    EXPECT_EQ(Logging::shortenedFunction("tzDefaults(logToFile:minLevel:)"), "tzDefaults()");
}

TEST_F(LoggingFacade, ThreadNameIsEmptyOnMainElseTheQueueLabel) {
    auto destination = record();
    Logging::info("main");
    destination->execute(BaseDestination::Execution::sync, [] { Logging::info("on its queue"); });
    std::thread([] { Logging::info("plain thread"); }).join();
    Logging::flush();
    const auto entries = destination->entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].thread, "");
    EXPECT_EQ(entries[1].thread, destination->queue()->label());
    EXPECT_TRUE(entries[2].thread.starts_with("<Thread")) << entries[2].thread;
}

// A synchronous destination whose writing logs again, as a window or file
// destination may when it reports a failure.
class ReentrantDestination : public RecordingDestination {
public:
    std::optional<std::string> send(const LogEntry& entry) override {
        if (entry.message == "outer") Logging::info("inner");
        return RecordingDestination::send(entry);
    }
};

TEST_F(LoggingFacade, SynchronousDestinationLoggingFromItsOwnQueueDoesNotDeadlock) {
    auto destination = std::make_shared<ReentrantDestination>();
    destination->setAsynchronously(false);
    Logging::addDestination(destination);
    Logging::info("outer");
    const auto entries = destination->entries();  // no flush: it was synchronous
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].message, "inner");
    EXPECT_EQ(entries[0].thread, destination->queue()->label());
    EXPECT_EQ(entries[1].message, "outer");
}

TEST_F(LoggingFacade, DateIsReadWhenTheQueueRendersTheLine) {
    platform::VirtualClock clock;
    auto destination = record();
    destination->setFormat("$Dss$d $M");
    std::promise<void> gate;
    destination->execute(BaseDestination::Execution::async,
                         [opened = gate.get_future().share()] { opened.wait(); });
    Logging::info("late");
    clock.advance(5'000);
    gate.set_value();
    Logging::flush();
    EXPECT_EQ(destination->texts(), std::vector<std::string>{"25 late"});
}

// As a set-up replaces every member while their queues still hold lines.
TEST_F(LoggingFacade, FlushWaitsForMembersJustReplaced) {
    auto replaced = record();
    std::promise<void> gate;
    replaced->execute(BaseDestination::Execution::async,
                      [opened = gate.get_future().share()] { opened.wait(); });
    Logging::info("queued before the replacement");
    Logging::removeAllDestinations();
    // Opened while flush waits; a flush that does not wait finds nothing yet.
    std::thread opener([&gate] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gate.set_value();
    });
    Logging::flush();
    EXPECT_EQ(replaced->entries().size(), 1u);
    opener.join();
}

TEST_F(LoggingFacade, LinesLoggedJustBeforeTerminationAreWritten) {
    TemporaryFolders folders;
    auto file = std::make_shared<FileDestination>(folders.path("app.log"));
    file->setFormat("$M");
    Logging::addDestination(file);
    for (int i = 0; i < 50; ++i) Logging::info(i);
    Logging::info("last before flush");
    Logging::flush();
    EXPECT_TRUE(contents(folders.path("app.log")).ends_with("49\nlast before flush\n"));
    Logging::info("last before quitting");
    platform::Application::shared().terminate(nullptr);  // drains every queue
    platform::Application::shared().resetForTesting();
    EXPECT_TRUE(contents(folders.path("app.log")).ends_with("last before quitting\n"));
}

// Tells when it is gone, wherever that happens.
class WatchedDestination : public RecordingDestination {
public:
    explicit WatchedDestination(std::promise<void>& gone) : gone_(gone) {}
    ~WatchedDestination() override { gone_.set_value(); }

private:
    std::promise<void>& gone_;
};

TEST_F(LoggingFacade, QueuedEntryKeepsItsDestinationAliveUntilItHasRun) {
    std::promise<void> gone;
    std::promise<void> gate;
    std::vector<std::string> written;
    {
        auto destination = std::make_shared<WatchedDestination>(gone);
        destination->setFormat("$M");
        destination->execute(BaseDestination::Execution::async,
                             [opened = gate.get_future().share()] { opened.wait(); });
        Logging::addDestination(destination);
        Logging::info("queued");
        destination->execute(BaseDestination::Execution::async,
                             [&written, destination] { written = destination->texts(); });
        Logging::removeAllDestinations();
    }
    // The last owner is now the queued work, so the destination ends on its own queue.
    gate.set_value();
    gone.get_future().wait();
    EXPECT_EQ(written, std::vector<std::string>{"queued"});
}

TEST(LoggingLevel, LevelsComeFromRawValuesZeroToFour) {
    EXPECT_EQ(levelFromRawValue(0), Level::verbose);
    EXPECT_EQ(levelFromRawValue(4), Level::error);
    EXPECT_FALSE(levelFromRawValue(-1));
    EXPECT_FALSE(levelFromRawValue(5));
    EXPECT_TRUE(isAtLeast(Level::warning, Level::info));
    EXPECT_FALSE(isAtLeast(Level::debug, Level::info));
}

class LoggingSetUp : public LoggingFacade {
protected:
    TemporaryFolders folders;
};

TEST_F(LoggingSetUp, MainProgramKeepsOneWindowDestination) {
    ScopedMainBundle bundle(PropertyDictionary{{"CFBundleName", "Zelvana"}});
    Logging::tzDefaults(Logging::FileLogging::off, std::nullopt);
    Logging::tzDefaults(Logging::FileLogging::off, std::nullopt);
    const auto members = Logging::destinations();
    ASSERT_EQ(members.size(), 1u);
    auto window = std::dynamic_pointer_cast<WindowDestination>(members[0]);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->minLevel(), Level::verbose);
    EXPECT_FALSE(window->logWindowController());
    EXPECT_EQ(window->defaultHashValue(), 0);
    EXPECT_FALSE(fs::exists(folders.data() / "Zelvana"));
}

TEST_F(LoggingSetUp, MainProgramLogFileStartsFreshAndCarriesTheBuildLine) {
    ScopedMainBundle bundle(PropertyDictionary{
        {"CFBundleDisplayName", "Zelvana"}, {"CFBundleName", "Other"}, {"CFBundleVersion", "9"}});
    const fs::path log = folders.data() / "Zelvana" / "Zelvana.log";
    fs::create_directories(log.parent_path());
    std::ofstream(log) << "previous launch\n";
    Logging::tzDefaults(Logging::FileLogging::on, std::nullopt);
    Logging::flush();
    std::shared_ptr<BaseDestination> window, file;
    for (const auto& member : Logging::destinations()) {
        (std::dynamic_pointer_cast<FileDestination>(member) ? file : window) = member;
    }
    ASSERT_TRUE(window && file);
    EXPECT_EQ(file->minLevel(), Level::debug);
    EXPECT_EQ(window->minLevel(), Level::verbose);
    const std::string text = contents(log);
    EXPECT_EQ(text.find("previous launch"), std::string::npos);
    EXPECT_NE(text.find(" INFO Logging.tzDefaults():"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(" - build Zelvana\n")) << text;

    Logging::tzDefaults(Logging::FileLogging::on, Level::warning);
    for (const auto& member : Logging::destinations()) {
        EXPECT_EQ(member->minLevel(), Level::warning);
    }
}

TEST_F(LoggingSetUp, WithoutDisplayNameTheFileIsNamedAfterTheBundleNameAndNoBuildLine) {
    ScopedMainBundle bundle(PropertyDictionary{{"CFBundleName", "Plain"}});
    Logging::tzDefaults(Logging::FileLogging::on, Level::verbose);
    Logging::flush();
    std::shared_ptr<FileDestination> file;
    for (const auto& member : Logging::destinations()) {
        if (auto found = std::dynamic_pointer_cast<FileDestination>(member)) file = found;
    }
    ASSERT_TRUE(file);
    EXPECT_EQ(file->logFileURL(), folders.data() / "Plain" / "Plain.log");
    EXPECT_FALSE(fs::exists(*file->logFileURL()));
}

TEST_F(LoggingSetUp, HelperAddsAConsoleForTheUnifiedLogEachTime) {
    ScopedMainBundle bundle(PropertyDictionary{{"CFBundleVersion", "42"}});
    LogCapture capture;
    Logging::tzHelperDefaults(Logging::FileLogging::off, "com.quorrim.Zelvana", "Zelvana");
    Logging::tzHelperDefaults(Logging::FileLogging::on, "com.quorrim.Zelvana", "Zelvana");
    Logging::flush();
    EXPECT_EQ(Logging::countDestinations(), 3);
    int consoles = 0;
    for (const auto& member : Logging::destinations()) {
        if (auto console = std::dynamic_pointer_cast<ConsoleDestination>(member)) {
            ++consoles;
            EXPECT_TRUE(console->useMacConsole());
            EXPECT_EQ(console->loggableBundleId(), "com-quorrim-Zelvana ");
        }
    }
    EXPECT_EQ(consoles, 2);
    const auto entries = capture.entries();
    ASSERT_EQ(entries.size(), 3u);  // one line, then the same line to two consoles
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.type, platform::LogType::Info);
        EXPECT_TRUE(entry.message.starts_with("com-quorrim-Zelvana ")) << entry.message;
        EXPECT_NE(entry.message.find("Logging.tzHelperDefaults():"), std::string::npos);
        EXPECT_TRUE(entry.message.ends_with(" - build 42")) << entry.message;
    }
    EXPECT_TRUE(contents(folders.data() / "Zelvana" / "ZelvanaHelper.log").ends_with("build 42\n"));
}

TEST_F(LoggingSetUp, ShowLogWindowOpensOneWindowPerWindowDestination) {
    platform::VirtualClock clock;
    platform::Application::shared().resetForTesting();
    Logging::tzDefaults(Logging::FileLogging::off, std::nullopt);
    auto window = std::dynamic_pointer_cast<WindowDestination>(Logging::destinations()[0]);
    window->setFormat("$M");
    auto console = std::make_shared<ConsoleDestination>();
    console->setUseMacConsole(true);
    Logging::addDestination(console);
    LogCapture capture;
    Logging::info("before the window opened");
    Logging::flush();

    Logging::showLogWindow();
    auto controller = window->logWindowController();
    ASSERT_TRUE(controller);
    EXPECT_TRUE(controller->isOpen());
    EXPECT_TRUE(platform::Application::shared().isActive());
    Logging::showLogWindow();
    EXPECT_EQ(window->logWindowController(), controller);
    EXPECT_EQ(platform::Application::shared().activationCount(), 2);

    Logging::error("shown");
    Logging::flush();
    clock.runPending();
    auto* content = dynamic_cast<LogViewController*>(controller->contentViewController());
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->textView()->string(), "shown\n");
}

}  // namespace
}  // namespace zelvana::logging
