#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/tests/RelaunchTestSupport.hpp"
#include "platform/appkit/Application.hpp"

namespace zelvana::core::test {
namespace {

namespace fs = std::filesystem;
using Arguments = std::vector<std::string>;

// The real relaunch operations; only the terminate request is recorded.
class RelaunchingDelegate : public AppDelegate {
public:
    using AppDelegate::AppDelegate;
    using AppDelegate::relaunchApp;

    int terminations = 0;

protected:
    void sendTerminate(const platform::ActionSender&) override { ++terminations; }
};

class AppDelegateRelaunchTest : public RelaunchFixture {
protected:
    AppDelegateRelaunchTest() {
        platform::Application::shared().resetForTesting();
        platform::Workspace::shared().setApplicationOpener(
            [this](const fs::path& bundle, const platform::OpenConfiguration& configuration,
                   platform::OpenCompletion done) {
                opened.push_back({bundle, configuration.arguments});
                if (!openError) {
                    done(platform::RunningApplication(4242, "com.quorrim.Zelvana-Helper", bundle),
                         std::nullopt);
                    return;
                }
                // Reported from another thread, as the system does.
                std::thread([&] { done(std::nullopt, platform::OpenError{*openError}); }).join();
            });
    }
    ~AppDelegateRelaunchTest() override {
        delegate.reset();
        logging::Logging::flush();
        logging::Logging::removeAllDestinations();
        platform::Application::shared().resetForTesting();
    }

    // The launch sequence, which also observes the settings.
    void launch() {
        delegate = std::make_unique<RelaunchingDelegate>(mainSide);
        delegate->applicationDidFinishLaunching();
        // The launch replaced the destinations.
        logging::Logging::addDestination(log);
        logging::Logging::addDestination(recorder);
    }

    // How many times the helper is opened for one wake.
    std::size_t relaunchesOnWake() {
        const auto before = opened.size();
        platform::Workspace::shared().postDidWakeNotification();
        clock.runPending();
        return opened.size() - before;
    }

    Arguments argumentsFor(double delay) {
        delegate->relaunchApp(delay);
        return opened.empty() ? Arguments{} : opened.back().arguments;
    }

    void helperAnswers(const std::string& object = mainIdentifier) {
        helperSide.postNotificationName("com.quorrim.Zelvana.pong", object);
        deliverPosted();
    }

    struct OpenRequest {
        fs::path bundle;
        Arguments arguments;
    };
    std::vector<OpenRequest> opened;
    std::optional<std::string> openError;
    std::unique_ptr<RelaunchingDelegate> delegate;
};

TEST_F(AppDelegateRelaunchTest, WakingRelaunchesOnlyWithGesturesAndAnExplicitOn) {
    launch();
    EXPECT_EQ(relaunchesOnWake(), 0U) << "nothing chosen";

    GlobalDefaults::autoRestartOnWake().setOptionalValue(true);
    EXPECT_EQ(relaunchesOnWake(), 0U) << "gestures off";

    GlobalDefaults::gesture().setValue(1);
    GlobalDefaults::autoRestartOnWake().setOptionalValue(std::nullopt);
    EXPECT_EQ(relaunchesOnWake(), 0U) << "never chosen counts as off";
    GlobalDefaults::autoRestartOnWake().setOptionalValue(false);
    EXPECT_EQ(relaunchesOnWake(), 0U);

    GlobalDefaults::restartOnWakeDelay().setValue(1.9F);
    GlobalDefaults::autoRestartOnWake().setOptionalValue(true);
    EXPECT_EQ(relaunchesOnWake(), 1U);
    EXPECT_EQ(opened.back().arguments, (Arguments{"relaunch", "1"}));

    // Every change re-evaluates; none may leave a second observer behind.
    GlobalDefaults::gesture().setValue(4);
    GlobalDefaults::autoRestartOnWake().setOptionalValue(true);
    GlobalDefaults::gesture().setValue(8);
    EXPECT_EQ(relaunchesOnWake(), 1U);

    GlobalDefaults::autoRestartOnWake().setOptionalValue(false);
    EXPECT_EQ(relaunchesOnWake(), 0U) << "turned off while gestures are on";
    GlobalDefaults::autoRestartOnWake().setOptionalValue(true);
    GlobalDefaults::gesture().setValue(0);
    EXPECT_EQ(relaunchesOnWake(), 0U);
}

TEST_F(AppDelegateRelaunchTest, TheHelperGetsTheWholeSecondsOfTheDelay) {
    launch();
    EXPECT_EQ(argumentsFor(0), (Arguments{"relaunch", "0"}));
    EXPECT_EQ(opened.back().bundle, helperBundle());
    EXPECT_EQ(argumentsFor(1.9), (Arguments{"relaunch", "1"}));
    EXPECT_EQ(argumentsFor(2.7), (Arguments{"relaunch", "2"}));
    EXPECT_EQ(argumentsFor(86400.5), (Arguments{"relaunch", "86400"}));

    // What no setting should hold still gives the helper a number it takes.
    const Arguments atOnce{"relaunch", "0"};
    EXPECT_EQ(argumentsFor(-0.5), atOnce);
    EXPECT_EQ(argumentsFor(-3), atOnce);
    EXPECT_EQ(argumentsFor(std::nan("")), atOnce);
    EXPECT_EQ(argumentsFor(-std::numeric_limits<double>::infinity()), atOnce);
    const Arguments longest{"relaunch", "9223372036854775805"};
    EXPECT_EQ(argumentsFor(1e300), longest);
    EXPECT_EQ(argumentsFor(std::numeric_limits<double>::infinity()), longest);
    EXPECT_EQ(argumentsFor(9.2e18), (Arguments{"relaunch", "9200000000000000000"}));
}

TEST_F(AppDelegateRelaunchTest, ARelaunchFirstTellsAnOlderHelperToGo) {
    launch();
    log->clear();
    delegate->relaunchApp(0);
    EXPECT_EQ(receivedByHelper(),
              std::vector<std::string>{"com.quorrim.Zelvana.terminateLauncher from "
                                       "com.quorrim.Zelvana"});
    EXPECT_EQ(log->messages(),
              (std::vector<std::string>{"Sending terminate message to launcher", "Launching helper",
                                        "Succesfully launched helper."}));
    for (const auto& entry : log->entries()) {
        EXPECT_EQ(entry.file, "LaunchOnLogin");
        EXPECT_EQ(entry.level, logging::Level::info);
    }
    EXPECT_EQ(log->entries()[1].function, "relaunchApp()") << "as the facade shortens it";
}

TEST_F(AppDelegateRelaunchTest, OnlyAPendingRelaunchQuitsOnThePong) {
    launch();
    delegate->receivePong();
    EXPECT_EQ(delegate->terminations, 0) << "a helper started at login answers too";

    openError = "no such helper";
    delegate->relaunchApp(1);
    EXPECT_FALSE(awaitingPong);
    EXPECT_TRUE(log->find("Unable to open helper: no such helper"));
    helperAnswers();
    EXPECT_EQ(delegate->terminations, 0) << "the open failed, so nothing waits";

    openError.reset();
    delegate->relaunchApp(1);
    EXPECT_TRUE(awaitingPong);
    helperAnswers("com.quorrim.Other");
    EXPECT_EQ(delegate->terminations, 0) << "another application's pong";
    helperAnswers();
    EXPECT_GE(delegate->terminations, 1);
    const auto line = log->find("Received response from helper, terminating");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->function, "receivePong()");
    EXPECT_EQ(line->file, "LaunchOnLogin");
}

TEST_F(AppDelegateRelaunchTest, TwoRelaunchRequestsStillQuitOnTheFirstPong) {
    launch();
    delegate->relaunchApp(0);
    delegate->relaunchApp(0);
    EXPECT_EQ(opened.size(), 2U);
    helperAnswers();
    EXPECT_GE(delegate->terminations, 1);

    // A delegate that is gone no longer observes the pong.
    delegate.reset();
    helperAnswers();
}

}  // namespace
}  // namespace zelvana::core::test
