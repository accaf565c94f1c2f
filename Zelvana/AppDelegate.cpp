#include "Zelvana/AppDelegate.hpp"

#include <algorithm>
#include <limits>
#include <source_location>

#include "GridPanel/GridPanelWindowController.hpp"
#include "Logging/Logging.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/LaunchOnLogin.hpp"
#include "Zelvana/StatusItem.hpp"
#include "Zelvana/ViewController.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/appkit/Storyboard.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/foundation/WholeNumber.hpp"
#include "settings/Defaults.hpp"

namespace zelvana::core {

namespace {

using logging::Level;
using logging::Logging;

// The relaunch's lines carry the login part's file name.
void logRelaunch(const std::string& message, const char* function,
                 std::source_location here = std::source_location::current()) {
    Logging::custom(Level::info, message, "LaunchOnLogin", function, static_cast<int>(here.line()));
}

// Toward zero. NaN and negative delays mean at once; a delay past what the
// helper can add its retries to is capped there rather than overflowing.
std::int64_t wholeSeconds(double delay) {
    constexpr auto longest = std::numeric_limits<std::int64_t>::max() - 2;
    if (!(delay > 0)) return 0;
    if (delay >= static_cast<double>(longest)) return longest;
    return static_cast<std::int64_t>(delay);
}

}  // namespace

AppDelegate::AppDelegate()
    : AppDelegate(platform::DistributedNotificationCenter::defaultCenter()) {}

AppDelegate::AppDelegate(platform::DistributedNotificationCenter& notifications)
    : notifications_(notifications) {}

AppDelegate::~AppDelegate() = default;

bool AppDelegate::countsAsFirstLaunch(const std::optional<std::string>& lastVersion) {
    return !lastVersion || !platform::wholeNumber(*lastVersion);
}

void AppDelegate::applicationDidFinishLaunching() {
    platform::assertMainThread();
    detectFirstLaunch();
    recordVersion();
    Logging::tzDefaults(Logging::FileLogging::off, std::nullopt);
    noteRelaunchArgument();
    createManager();
    terminateRunningHelper();
    createUpdater();
    setUpStatusItem();
    observeSettings();
    updateWakeObserver();
    observePowerOff();
}

void AppDelegate::applicationWillTerminate() {
    platform::assertMainThread();
    if (manager_) manager_->saveQueue().flush();
}

void AppDelegate::tearDown() {
    platform::assertMainThread();
    auto& application = platform::Application::shared();
    application.closeOpenInterface();
    if (manager_) manager_->gridPanel().close();
    if (prefsWindowController_) prefsWindowController_->close();
    StatusItem::releaseShared();
    observers_.clear();
    wakeObserver_.cancel();
    pongObservers_.clear();
    prefsWindowController_.reset();
    updaterController_.reset();
    statusMenuActions_ = nullptr;
    manager_.reset();
    if (application.delegate() == this) application.setDelegate(nullptr);
}

void AppDelegate::detectFirstLaunch() {
    if (countsAsFirstLaunch(settings::Defaults::lastVersion().value())) isFirstLaunch = true;
}

void AppDelegate::recordVersion() {
    // Absent when the bundle has no version text, so the next launch counts
    // as a first one again.
    settings::Defaults::lastVersion().setValue(
        platform::Bundle::main().infoString("CFBundleVersion"));
}

void AppDelegate::noteRelaunchArgument() {
    if (platform::ProcessInfo::shared().hasArgument(relaunchArgument)) wasRelaunched = true;
}

void AppDelegate::createManager() {
    manager_ = std::make_unique<ZelvanaManager>();
    statusMenuActions_ = manager_.get();
}

void AppDelegate::terminateRunningHelper() {
    LaunchOnLogin::terminateRunningHelper();
}

void AppDelegate::createUpdater() {
    updaterController_ = std::make_unique<platform::StandardUpdaterController>(this, nullptr);
    updaterController_->updater().setAutomaticallyChecksForUpdates(
        platform::UserDefaults::standard().boolForKey(platform::Updater::automaticChecksKey));
}

void AppDelegate::setUpStatusItem() {
    const auto weak = weak_.ref();
    auto openSettings = [weak] {
        if (AppDelegate* self = weak.get()) self->openPreferences(nullptr);
    };
    auto& statusItem = StatusItem::shared();
    statusItem.connect({weak, LoginRegistration::withSystem, std::move(openSettings)});
    statusItem.setupStatusItem();
}

void AppDelegate::observeSettings() {
    const auto reevaluate = [this](const platform::Notification&) { updateWakeObserver(); };
    observers_.push_back(GlobalDefaults::gesture().observe(reevaluate));
    observers_.push_back(GlobalDefaults::autoRestartOnWake().observe(reevaluate));
}

void AppDelegate::observePowerOff() {
    auto& center = platform::Workspace::shared().notificationCenter();
    observers_.push_back(
        center.addObserver(platform::Workspace::willPowerOffNotification,
                           [this](const platform::Notification&) { terminateApp(); }));
}

void AppDelegate::updateWakeObserver() {
    // Removed first, so toggling the settings never leaves two observers.
    wakeObserver_.cancel();
    if (GlobalDefaults::gesture().value() < 1 ||
        !GlobalDefaults::autoRestartOnWake().isUserEnabled()) {
        return;
    }
    auto& center = platform::Workspace::shared().notificationCenter();
    wakeObserver_ =
        center.addObserver(platform::Workspace::didWakeNotification,
                           [this](const platform::Notification& note) { receiveWakeNote(note); });
}

void AppDelegate::receiveWakeNote(const platform::Notification& /*notification*/) {
    platform::assertMainThread();
    relaunchApp(static_cast<double>(GlobalDefaults::restartOnWakeDelay().value()));
}

void AppDelegate::relaunchApp(double delaySeconds) {
    // Before the new helper starts, so only an older one sees it.
    LaunchOnLogin::killLauncher();
    platform::OpenConfiguration configuration;
    configuration.arguments.push_back("relaunch");
    requestedDelay_ = wholeSeconds(delaySeconds);
    configuration.arguments.push_back(std::to_string(requestedDelay_));
    pongObservers_.push_back(notifications_.addObserver(
        LaunchOnLogin::pongNotification, platform::Bundle::main().bundleIdentifier(),
        [this](const platform::Notification&) { receivePong(); }));
    logRelaunch("Launching helper", "relaunchApp(afterDelay:)");
    awaitingPong = true;
    // The completion may run on another thread and after we are gone.
    platform::Workspace::shared().openApplication(
        LaunchOnLogin::helperURL(), configuration, [](const auto&, const auto& error) {
            if (error) {
                logRelaunch("Unable to open helper: " + error->localizedDescription,
                            "relaunchApp(afterDelay:)");
                awaitingPong = false;
            } else {
                logRelaunch("Succesfully launched helper.", "relaunchApp(afterDelay:)");
            }
        });
}

void AppDelegate::receivePong() {
    platform::assertMainThread();
    if (!awaitingPong) return;
    logRelaunch("Received response from helper, terminating", "receivePong()");
    relaunchingIn_ = requestedDelay_;
    terminateApp();
}

bool AppDelegate::applicationShouldHandleReopen(bool /*hasVisibleWindows*/) {
    platform::assertMainThread();
    if (GlobalDefaults::relaunchOpensMenu().value()) {
        openStatusMenu();
    } else {
        openPreferences(nullptr);
    }
    return true;
}

void AppDelegate::openStatusMenu() {
    StatusItem::shared().openStatusMenu();
}

void AppDelegate::openPreferences(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    if (!prefsWindowController_) loadPreferencesWindowController();
    platform::Application::shared().activate(true);
    if (!prefsWindowController_) return;
    prefsWindowController_->showWindow(nullptr);
}

void AppDelegate::loadPreferencesWindowController() {
    ViewController::registerStoryboardClass(settingsServices());
    std::string error;
    const auto storyboard =
        platform::Storyboard::load(preferencesStoryboard, platform::Bundle::main(), &error);
    if (!storyboard) {
        Logging::error("The settings window is unavailable: " + error);
        return;
    }
    prefsWindowController_ = std::dynamic_pointer_cast<platform::WindowController>(
        storyboard->instantiateController(preferencesControllerIdentifier, &error));
    if (!prefsWindowController_) {
        Logging::error("The settings window is unavailable: no window controller " +
                       std::string(preferencesControllerIdentifier) + " " + error);
        return;
    }
}

ViewController::Services AppDelegate::settingsServices() const {
    return {LoginRegistration::withSystem, updaterController_.get(), manager_.get()};
}

void AppDelegate::showAbout(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    auto& application = platform::Application::shared();
    application.activate(true);
    application.orderFrontStandardAboutPanelWithOptions({});
}

void AppDelegate::showZelvana(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    if (!statusMenuActions_) return Logging::error("There is no hub yet to show the grid panel");
    statusMenuActions_->showKeyDown();
}

void AppDelegate::clearAllSpaces() {
    platform::assertMainThread();
    if (!statusMenuActions_) return Logging::error("There is no hub yet to clear the spaces");
    statusMenuActions_->clear();
}

bool AppDelegate::performAction(const std::string& action, const platform::ActionSender* sender) {
    platform::assertMainThread();
    if (action == "openPreferences:") {
        openPreferences(sender);
    } else if (action == "showAbout:") {
        showAbout(sender);
    } else if (action == "showZelvana:") {
        showZelvana(sender);
    } else if (action == "terminateWithSender:") {
        terminateWithSender(sender);
    } else if (action == "terminateApp") {
        terminateApp();
    } else if (action == "clearAllSpaces") {
        clearAllSpaces();
    } else {
        return false;
    }
    return true;
}

void AppDelegate::terminateWithSender(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    terminateApp();
}

void AppDelegate::terminateApp() {
    if (!platform::isMainThread()) {
        platform::mainQueue().sync([this] { terminateApp(); });
        return;
    }
    const auto keepsWindows = GlobalDefaults::globalDomainValue(quitAlwaysKeepsWindowsKey);
    if (keepsWindows && keepsWindows->boolValue() && *keepsWindows->boolValue()) {
        return sendTerminate(*this);
    }
    platform::MenuItem alternateQuit;
    alternateQuit.setIdentifier(alternateQuitItemIdentifier);
    sendTerminate(alternateQuit);
}

void AppDelegate::sendTerminate(const platform::ActionSender& sender) {
    platform::Application::shared().terminate(&sender);
}

bool AppDelegate::updaterShouldRelaunchApplication() {
    platform::assertMainThread();
    relaunchApp(0);
    return false;
}

}  // namespace zelvana::core
