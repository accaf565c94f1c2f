#include "Zelvana/AppDelegate.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "Zelvana/tests/ZelvanaTestSupport.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::core::test {
namespace {

using platform::PropertyDictionary;
using platform::PropertyValue;

// Records what the call sites and the terminate request receive.
class RecordingDelegate : public AppDelegate {
public:
    struct Termination {
        const platform::ActionSender* sender = nullptr;
        // The identifier of a menu item sent as the sender, which lives only
        // as long as the request.
        std::optional<std::string> menuItemIdentifier;
        bool onMainThread = false;
        bool callerHadReturned = false;
    };

    std::vector<double> relaunchDelays;
    int wakeObserverUpdates = 0;
    std::vector<Termination> terminations;
    std::atomic<bool> callerReturned{false};

protected:
    void relaunchApp(double delaySeconds) override { relaunchDelays.push_back(delaySeconds); }
    void updateWakeObserver() override { ++wakeObserverUpdates; }
    void sendTerminate(const platform::ActionSender& sender) override {
        const auto* item = dynamic_cast<const platform::MenuItem*>(&sender);
        terminations.push_back({&sender, item ? std::optional(item->identifier()) : std::nullopt,
                                platform::isMainThread(), callerReturned.load()});
    }
};

const PropertyDictionary kInfo{{"CFBundleIdentifier", "com.quorrim.Zelvana"},
                               {"CFBundleVersion", "17"},
                               {"CFBundleShortVersionString", "1.0.0"}};

const char* kMainStoryboard = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>scenes</key><dict>
    <key>PrefsWindowController</key><dict>
      <key>class</key><string>WindowController</string>
      <key>window</key><dict><key>title</key><string>Zelvana Settings</string></dict>
    </dict>
  </dict>
</dict></plist>
)";

class AppDelegateTest : public SettingsFixture {
protected:
    AppDelegateTest() {
        platform::Application::shared().resetForTesting();
        isFirstLaunch = false;
        wasRelaunched = false;
    }
    ~AppDelegateTest() override {
        processInfo().setArguments(savedArguments_);
        platform::Application::shared().resetForTesting();
        logging::Logging::flush();
        logging::Logging::removeAllDestinations();
    }

    static platform::ProcessInfo& processInfo() { return platform::ProcessInfo::shared(); }

    // A new process: fresh settings and flags, then the launch handler.
    std::unique_ptr<RecordingDelegate> launch(std::vector<std::string> arguments = {}) {
        relaunch();
        isFirstLaunch = false;
        wasRelaunched = false;
        arguments.insert(arguments.begin(), "/Applications/Zelvana.app/Contents/MacOS/Zelvana");
        processInfo().setArguments(arguments);
        auto delegate = std::make_unique<RecordingDelegate>();
        delegate->applicationDidFinishLaunching();
        logging::Logging::addDestination(recorder);  // the launch replaced the destinations
        return delegate;
    }

    static void setGlobal(const std::string& key, std::optional<PropertyValue> value) {
        auto global = platform::UserDefaults::globalDomain();
        if (value) {
            global.set(key, *value);
        } else {
            global.removeObject(key);
        }
    }

    platform::testing::ScopedMainBundle bundle{kInfo, std::nullopt, "Zelvana"};

private:
    std::vector<std::string> savedArguments_ = processInfo().arguments();
};

TEST_F(AppDelegateTest, OnlyAWholeDecimalNumberMeansAnEarlierRun) {
    for (const char* text : {"", "+", "-", "12a", "9223372036854775808", "-9223372036854775809",
                             " 17", "1.0", "+-3", "١٢"}) {
        EXPECT_TRUE(AppDelegate::countsAsFirstLaunch(text)) << '"' << text << '"';
    }
    EXPECT_TRUE(AppDelegate::countsAsFirstLaunch(std::nullopt));
    for (const char* text :
         {"17", "+3", "-4", "0", "007", "9223372036854775807", "-9223372036854775808"}) {
        EXPECT_FALSE(AppDelegate::countsAsFirstLaunch(text)) << '"' << text << '"';
    }
}

TEST_F(AppDelegateTest, EveryLaunchRecordsTheBundleVersion) {
    auto first = launch();
    EXPECT_TRUE(isFirstLaunch) << "nothing stored";
    EXPECT_EQ(defaults().object("lastVersion"), PropertyValue("17"));

    defaults().set("lastVersion", "12a");
    launch();
    EXPECT_TRUE(isFirstLaunch);
    EXPECT_EQ(defaults().object("lastVersion"), PropertyValue("17"));

    launch();
    EXPECT_FALSE(isFirstLaunch) << "any number counts, whatever its value";

    defaults().set("lastVersion", PropertyDictionary{{"version", 3}});
    launch();
    EXPECT_TRUE(isFirstLaunch) << "garbage reads as absent";
    EXPECT_EQ(defaults().object("lastVersion"), PropertyValue("17"));
}

TEST_F(AppDelegateTest, ABundleWithoutVersionLeavesLastVersionAbsent) {
    platform::testing::ScopedMainBundle unversioned(
        {{"CFBundleIdentifier", "com.quorrim.Zelvana"}, {"CFBundleVersion", 17}});
    defaults().set("lastVersion", "16");
    launch();
    EXPECT_FALSE(isFirstLaunch);
    EXPECT_FALSE(defaults().object("lastVersion")) << "a number is not a version text";
    launch();
    EXPECT_TRUE(isFirstLaunch);
}

TEST_F(AppDelegateTest, GarbageInTheSettingsDoesNotStopTheLaunch) {
    defaults().set("gesture", "sideways");
    defaults().set("autoRestartOnWake", PropertyDictionary{{"on", true}});
    defaults().set("relaunchOpensMenu", platform::Data{1, 2});
    defaults().set("SUEnableAutomaticChecks", "perhaps");
    auto delegate = launch();
    ASSERT_NE(delegate->updaterController(), nullptr);
    EXPECT_FALSE(delegate->updaterController()->updater().automaticallyChecksForUpdates());
    EXPECT_EQ(GlobalDefaults::gesture().value(), 0);
    EXPECT_FALSE(GlobalDefaults::autoRestartOnWake().isUserEnabled());
    EXPECT_EQ(delegate->wakeObserverUpdates, 1);
    EXPECT_TRUE(delegate->applicationShouldHandleReopen(false)) << "reads relaunchOpensMenu";
}

TEST_F(AppDelegateTest, TheRelaunchArgumentMayComeAnywhere) {
    // A relaunch keeps a stored space's staleness; an ordinary start makes it stale.
    platform::Desktop::shared().resetForTesting();
    platform::Desktop::shared().addDisplay(
        platform::Display::make(1, platform::Rect::make(0, 0, 1920, 1080), "Display"));
    const auto isStaleAfter = [&](std::vector<std::string> arguments) {
        switcher::SpaceSwitcher::resetSharedForTesting();
        const auto anchor = switcher::SpaceSwitcher::shared().addAnchor(*platform::Screen::main());
        defaults().set("grid", PropertyValue(R"([{"id":")" + anchor->id() +
                                             R"(","windowList":[],"coordinates":[]}])"));
        const auto delegate = launch(std::move(arguments));
        EXPECT_FALSE(wasRelaunched) << "the hub's restoration consumes it";
        return delegate->manager()->spaceGrid().space(anchor->id())->isStale();
    };
    EXPECT_FALSE(isStaleAfter({"--relaunch"}));
    EXPECT_FALSE(isStaleAfter({"-NSDocumentRevisionsDebugMode", "YES", "--relaunch"}));
    EXPECT_TRUE(isStaleAfter({"--relaunch=1"}));
    EXPECT_TRUE(isStaleAfter({"relaunch", "--Relaunch"}));
    switcher::SpaceSwitcher::resetSharedForTesting();
    platform::Desktop::shared().resetForTesting();
}

TEST_F(AppDelegateTest, QuittingKeepsWindowsAsTheGlobalDefaultsSay) {
    auto delegate = launch();
    setGlobal(AppDelegate::quitAlwaysKeepsWindowsKey, true);
    delegate->terminateApp();
    ASSERT_EQ(delegate->terminations.size(), 1U);
    EXPECT_EQ(delegate->terminations[0].sender, delegate.get());
    EXPECT_EQ(delegate->terminations[0].menuItemIdentifier, std::nullopt);

    for (auto value : {std::optional<PropertyValue>(false), std::optional<PropertyValue>(1),
                       std::optional<PropertyValue>("YES"), std::optional<PropertyValue>()}) {
        setGlobal(AppDelegate::quitAlwaysKeepsWindowsKey, value);
        delegate->terminateWithSender(nullptr);
        EXPECT_EQ(delegate->terminations.back().menuItemIdentifier, "NSAlternateQuitMenuItem");
    }
    EXPECT_EQ(delegate->terminations.size(), 5U);

    // Without a recorder in between the application terminates.
    AppDelegate plain;
    plain.terminateApp();
    EXPECT_TRUE(platform::Application::shared().isTerminating());
}

TEST_F(AppDelegateTest, QuittingFromAnotherThreadWaitsForTheMainQueue) {
    auto delegate = launch();
    std::thread caller([&] {
        delegate->terminateApp();
        delegate->callerReturned = true;
    });
    while (!delegate->callerReturned) {
        clock.runPending();
        std::this_thread::yield();
    }
    caller.join();
    ASSERT_EQ(delegate->terminations.size(), 1U);
    EXPECT_TRUE(delegate->terminations[0].onMainThread);
    EXPECT_FALSE(delegate->terminations[0].callerHadReturned);
}

TEST_F(AppDelegateTest, QuittingFromAQueuesWorkItemFinishes) {
    // Termination drains every queue, the one waiting for it included.
    AppDelegate plain;
    platform::SerialQueue queue("com.quorrim.Zelvana.tests.quit");
    std::atomic<bool> returned{false};
    queue.async([&] {
        plain.terminateApp();
        returned = true;
    });
    while (!returned) {
        clock.runPending();
        std::this_thread::yield();
    }
    EXPECT_TRUE(platform::Application::shared().isTerminating());
}

TEST_F(AppDelegateTest, PowerOffQuits) {
    auto delegate = launch();
    platform::Workspace::shared().postWillPowerOffNotification();
    EXPECT_TRUE(delegate->terminations.empty()) << "delivered on the main queue";
    clock.runPending();
    EXPECT_EQ(delegate->terminations.size(), 1U);

    delegate.reset();
    platform::Workspace::shared().postWillPowerOffNotification();
    clock.runPending();  // a delegate that is gone no longer observes
}

TEST_F(AppDelegateTest, TheUpdaterFollowsTheAutomaticCheckSettingAndRelaunchesThroughTheHelper) {
    auto delegate = launch();
    auto* controller = delegate->updaterController();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->updaterDelegate(), delegate.get());
    EXPECT_EQ(controller->userDriverDelegate(), nullptr);
    EXPECT_FALSE(controller->updater().automaticallyChecksForUpdates());

    EXPECT_FALSE(controller->updater().simulateUpdateInstalled())
        << "the updater is told not to relaunch";
    EXPECT_EQ(delegate->relaunchDelays, std::vector<double>{0});
    EXPECT_EQ(controller->updater().relaunchCount(), 0);

    defaults().set("SUEnableAutomaticChecks", true);
    EXPECT_TRUE(launch()->updaterController()->updater().automaticallyChecksForUpdates());
}

TEST_F(AppDelegateTest, GestureAndRelaunchOnWakeChangesReevaluateTheWakeObserver) {
    auto delegate = launch();
    EXPECT_EQ(delegate->wakeObserverUpdates, 1) << "once at launch";
    GlobalDefaults::gesture().setValue(3);
    GlobalDefaults::autoRestartOnWake().setOptionalValue(true);
    GlobalDefaults::gridWidth().setValue(5);
    EXPECT_EQ(delegate->wakeObserverUpdates, 3);
}

TEST_F(AppDelegateTest, ReopeningShowsTheSettingsWindowMadeOnce) {
    std::ofstream(bundle.resourcePath() / "Main.storyboard") << kMainStoryboard;
    auto delegate = launch();
    auto& application = platform::Application::shared();
    const int activations = application.activationCount();

    EXPECT_TRUE(delegate->applicationShouldHandleReopen(false));
    auto* controller = delegate->prefsWindowController();
    ASSERT_NE(controller, nullptr);
    EXPECT_TRUE(controller->window()->isVisible());
    EXPECT_TRUE(delegate->applicationShouldHandleReopen(true));
    EXPECT_EQ(delegate->prefsWindowController(), controller);
    EXPECT_EQ(application.activationCount(), activations + 2);

    // With the menu preferred, the settings window is left alone.
    GlobalDefaults::relaunchOpensMenu().setValue(true);
    auto menuFirst = launch();
    EXPECT_TRUE(menuFirst->applicationShouldHandleReopen(false));
    EXPECT_EQ(menuFirst->prefsWindowController(), nullptr);
}

TEST_F(AppDelegateTest, AMissingSettingsWindowStillActivates) {
    auto delegate = launch();
    const int activations = platform::Application::shared().activationCount();
    delegate->openPreferences(nullptr);
    EXPECT_EQ(delegate->prefsWindowController(), nullptr);
    EXPECT_EQ(platform::Application::shared().activationCount(), activations + 1);
    EXPECT_TRUE(recorder->hasWarningContaining("settings window is unavailable"));
}

}  // namespace
}  // namespace zelvana::core::test
