#include "ZelvanaHelper/AppDelegate.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Logging/Logging.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/testing/LogCapture.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::helper {
namespace {

namespace fs = std::filesystem;
using logging::Logging;
using Timeline = std::vector<std::pair<double, std::string>>;

constexpr const char* kMain = "com.quorrim.Zelvana";

struct OpenRequest {
    double at;
    fs::path bundle;
    std::vector<std::string> arguments;
};

class AppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Application::shared().resetForTesting();
        savedArguments_ = platform::ProcessInfo::shared().arguments();
        mainBundle_ = folders_.path("Apps/Zelvana.app");
        const fs::path helper = mainBundle_ / "Contents/Library/LoginItems/Zelvana Helper.app";
        fs::create_directories(helper / "Contents");
        platform::Bundle::setMainBundlePathForTesting(helper);
        workspace_.setApplicationOpener([this](const fs::path& bundle, const auto& configuration,
                                               platform::OpenCompletion done) {
            opened_.push_back({now(), bundle, configuration.arguments});
            if (openError_) {
                // The report comes from another thread, as the system's does.
                std::thread([&] { done(std::nullopt, platform::OpenError{*openError_}); }).join();
            } else {
                done(platform::RunningApplication(4242, kMain, bundle), std::nullopt);
            }
        });
    }

    void TearDown() override {
        delegate_.reset();
        Logging::flush();
        Logging::removeAllDestinations();
        platform::ProcessInfo::shared().setArguments(savedArguments_);
        platform::Bundle::setMainBundlePathForTesting({});
        platform::Application::shared().resetForTesting();
    }

    // A fresh helper process, started with these arguments after its path.
    void start(std::vector<std::string> arguments) {
        delegate_.reset();
        Logging::flush();
        Logging::removeAllDestinations();
        log_.clear();
        lastSeen_ = 0;
        startedAt_ = clock_.uptime();
        opened_.clear();
        platform::Application::shared().resetForTesting();
        arguments.insert(arguments.begin(), "/Apps/Zelvana Helper");
        platform::ProcessInfo::shared().setArguments(arguments);
        delegate_ = std::make_unique<AppDelegate>(helperCentre_, workspace_);
        delegate_->applicationDidFinishLaunching();
    }

    // Stands the test process in for the main application, or takes it away.
    void mainAppRuns(bool running, const std::string& identifier = kMain) {
        if (running) {
            ASSERT_TRUE(platform::RunningApplication::registerProcess(
                identifier, static_cast<int>(::getpid()), mainBundle_));
        } else {
            platform::RunningApplication::unregisterProcess(identifier,
                                                            static_cast<int>(::getpid()));
        }
    }

    // The helper's new lines, each with the clock's reading when it appeared.
    Timeline newLines() {
        Logging::flush();
        Timeline lines;
        const auto messages = log_.messages();
        for (; lastSeen_ < messages.size(); ++lastSeen_) {
            const auto& message = messages[lastSeen_];
            const auto text = message.find(" - ");
            if (text != std::string::npos) lines.emplace_back(now(), message.substr(text + 3));
        }
        return lines;
    }

    // Moves the clock on in half seconds, collecting the lines as they come.
    Timeline runFor(double seconds) {
        clock_.runPending();  // what is due now runs before time moves
        Timeline lines = newLines();
        for (double passed = 0; passed < seconds; passed += 0.5) {
            clock_.advance(500);
            for (auto& line : newLines()) lines.push_back(std::move(line));
        }
        return lines;
    }

    // Waits, without moving the clock, until a notification is handled.
    Timeline waitForLine(const std::string& text) {
        Timeline lines;
        platform::RunLoop::main().runUntil(
            [&] {
                for (auto& line : newLines()) lines.push_back(std::move(line));
                return !lines.empty() && lines.back().second == text;
            },
            10.0);
        return lines;
    }

    // Seconds since the helper started.
    double now() const { return clock_.uptime() - startedAt_; }
    static bool terminated() { return platform::Application::shared().isTerminating(); }

    platform::testing::TemporaryFolders folders_;
    platform::testing::LogCapture log_;
    platform::VirtualClock clock_;
    platform::DistributedNotificationCenter helperCentre_{"helper"};
    platform::DistributedNotificationCenter mainCentre_{"main"};
    platform::Workspace workspace_;
    std::unique_ptr<AppDelegate> delegate_;
    std::vector<OpenRequest> opened_;
    std::optional<std::string> openError_;
    fs::path mainBundle_;

private:
    std::vector<std::string> savedArguments_;
    std::size_t lastSeen_ = 0;
    double startedAt_ = 0;
};

TEST_F(AppDelegateTest, RelaunchChecksAtNThen2NPlus1Then3NPlus3AndGivesUp) {
    mainAppRuns(true);
    start({"relaunch", "2"});
    EXPECT_EQ(runFor(30),
              (Timeline{{0, "Pong sent"},
                        {0, "Subscribed to terminate notification"},
                        {0, R"(Zelvana helper initialized with args: ["/Apps/Zelvana Helper", )"
                            R"("relaunch", "2"])"},
                        {0, "Relaunching Zelvana app after seconds: 2"},
                        {2, "Zelvana already running, waiting and retrying"},
                        {5, "Zelvana still running after 2nd attempt. Trying one more time."},
                        {9, "Zelvana still running after 3rd attempt. Terminating."},
                        {17, "Terminating after deadline"},
                        {17, "Terminating Helper"}}));
    EXPECT_TRUE(terminated());
    EXPECT_TRUE(opened_.empty());
}

TEST_F(AppDelegateTest, RelaunchOpensTheMainAppOnceItHasGone) {
    mainAppRuns(true);
    start({"relaunch", "1"});
    runFor(2);
    mainAppRuns(false);
    const Timeline lines = runFor(20);
    EXPECT_EQ(lines, (Timeline{{3, "Launching Zelvana at path " + mainBundle_.string()},
                               {3, "Successful relaunch"},
                               {11, "Terminating after deadline"},
                               {11, "Terminating Helper"}}));
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].at, 3);
    EXPECT_EQ(opened_[0].bundle, mainBundle_);
    EXPECT_EQ(opened_[0].arguments, std::vector<std::string>{"--relaunch"});
}

TEST_F(AppDelegateTest, ZeroNegativeAndHugeDelays) {
    start({"relaunch", "0"});  // the main application is gone
    clock_.runPending();
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].at, 0);
    EXPECT_EQ(opened_[0].arguments, std::vector<std::string>{"--relaunch"});
    runFor(7.5);
    EXPECT_FALSE(terminated());
    runFor(0.5);
    EXPECT_TRUE(terminated());

    mainAppRuns(true);
    for (const char* delay : {"-3", "-9223372036854775808"}) {
        SCOPED_TRACE(delay);
        start({"relaunch", delay});
        const Timeline lines = runFor(8);
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_EQ(lines[4],
                  Timeline::value_type(0, "Zelvana already running, waiting and retrying"));
        EXPECT_EQ(lines[6].first, 0);  // the third check comes at once too
        EXPECT_EQ(lines[7], Timeline::value_type(8, "Terminating after deadline"));
    }

    // The retries add to the delay; the largest one must not overflow them.
    start({"relaunch", "+9223372036854775807"});
    EXPECT_EQ(newLines().back().second,
              "Relaunching Zelvana app after seconds: 9223372036854775807");
    clock_.advance(1e22);  // past the first check, not yet at the second
    Timeline lines = newLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].second, "Zelvana already running, waiting and retrying");
    for (int i = 0; i < 3; ++i) clock_.advance(1e22);
    lines = newLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].second, "Zelvana still running after 3rd attempt. Terminating.");
    EXPECT_EQ(lines[3].second, "Terminating Helper");
    EXPECT_TRUE(opened_.empty());
}

TEST_F(AppDelegateTest, OnlyTheFirstRelaunchWithAWholeNumberSchedules) {
    mainAppRuns(true);
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"relaunch"},
                                               {"relaunch", ""},
                                               {"relaunch", "2s"},
                                               {"relaunch", " 1"},
                                               {"relaunch", "+-1"},
                                               {"relaunch", "-"},
                                               {"relaunch", "9223372036854775808"},
                                               {"1", "relaunch", "x", "relaunch", "1"},
                                               {"Relaunch", "1"}}) {
        SCOPED_TRACE(arguments.front() + " " + arguments.back());
        start(arguments);
        const Timeline lines = runFor(60);
        if (arguments.front() == "Relaunch") {
            // No "relaunch" at all: the login role, with the main app running.
            EXPECT_EQ(lines.back().second, "Terminating Helper");
            continue;
        }
        ASSERT_EQ(lines.size(), 3u);  // pong, subscribed, arguments: then idle
        EXPECT_FALSE(terminated());
    }
    start({"5", "relaunch", "1", "relaunch", "9"});
    EXPECT_EQ(newLines().back().second, "Relaunching Zelvana app after seconds: 1");
    start({"relaunch", "say \"hi\"\n"});
    EXPECT_EQ(newLines().back().second,
              R"(Zelvana helper initialized with args: ["/Apps/Zelvana Helper", "relaunch", )"
              R"("say \"hi\"\n"])");
}

TEST_F(AppDelegateTest, LoginRoleOpensTheMainAppUnlessItRuns) {
    // Identifiers that merely contain the main one are other applications.
    mainAppRuns(true, "com.quorrim.Zelvana-Helper");
    mainAppRuns(true, "com.quorrim.Zelvana.beta");
    mainAppRuns(true, "xcom.quorrim.Zelvana");
    start({});
    Timeline lines = runFor(8);
    EXPECT_EQ(std::vector(lines.begin() + 3, lines.end()),
              (Timeline{{0, "Launching Zelvana app"},
                        {0, "Launching Zelvana at path " + mainBundle_.string()},
                        {0, "Successful relaunch"},
                        {8, "Terminating after deadline"},
                        {8, "Terminating Helper"}}));
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_TRUE(opened_[0].arguments.empty());

    mainAppRuns(true);
    start({});
    lines = runFor(8);
    EXPECT_EQ(std::vector(lines.begin() + 3, lines.end()),
              (Timeline{{0, "Zelvana already running, closing helper"},
                        {8, "Terminating after deadline"},
                        {8, "Terminating Helper"}}));
    EXPECT_TRUE(opened_.empty());
}

TEST_F(AppDelegateTest, AFailedOpenIsLoggedAndTheHelperStillQuits) {
    openError_ = "The application could not be launched.";
    start({"relaunch", "1"});
    const Timeline lines = runFor(20);
    EXPECT_EQ(std::vector(lines.begin() + 4, lines.end()),
              (Timeline{{1, "Launching Zelvana at path " + mainBundle_.string()},
                        {1, "Unable to relaunch: The application could not be launched."},
                        {9, "Terminating after deadline"},
                        {9, "Terminating Helper"}}));
    EXPECT_EQ(opened_.size(), 1u);
    bool loggedAsError = false;
    for (const auto& entry : log_.entries()) {
        loggedAsError |= entry.type == platform::LogType::Error &&
                         entry.message.find("Unable to relaunch") != std::string::npos;
    }
    EXPECT_TRUE(loggedAsError);
}

TEST_F(AppDelegateTest, PongGoesOutAndEitherTerminateNameAddsAQuit) {
    std::vector<std::string> pongs;
    const auto observer = mainCentre_.addObserver(
        AppDelegate::pongNotification, kMain, [&](const platform::Notification& notification) {
            pongs.push_back(std::any_cast<std::string>(notification.object));
        });
    mainAppRuns(true);
    start({"relaunch", "5"});
    platform::RunLoop::main().runUntil([&] { return !pongs.empty(); }, 10.0);
    EXPECT_EQ(pongs, std::vector<std::string>{kMain});
    runFor(1);

    // Wrong object or name first: ignored, and delivered before what follows.
    mainCentre_.postNotificationName(AppDelegate::terminateHelperNotification, "com.other");
    mainCentre_.postNotificationName("com.quorrim.Zelvana.terminate", kMain);
    mainCentre_.postNotificationName(AppDelegate::terminateLauncherNotification, kMain);
    Timeline lines = waitForLine("Received terminate notification");
    EXPECT_EQ(lines, (Timeline{{1, "Received terminate notification"}}));
    runFor(1);
    mainCentre_.postNotificationName(AppDelegate::terminateHelperNotification, kMain);
    lines = waitForLine("Received terminate notification");
    EXPECT_EQ(lines, (Timeline{{2, "Received terminate notification"}}));

    // The pending attempt still runs; the first quit ends the helper.
    lines = runFor(7.5);
    EXPECT_EQ(lines, (Timeline{{5, "Zelvana already running, waiting and retrying"},
                               {9, "Terminating after deadline"},
                               {9, "Terminating Helper"}}));
    EXPECT_TRUE(terminated());
}

}  // namespace
}  // namespace zelvana::helper
