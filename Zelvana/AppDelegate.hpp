#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Zelvana/LaunchState.hpp"
#include "Zelvana/StatusMenuActions.hpp"
#include "Zelvana/ViewController.hpp"
#include "platform/appkit/ActionTarget.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/core/Weak.hpp"
#include "platform/foundation/DistributedNotificationCenter.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/system/Updater.hpp"

namespace zelvana::core {

class ZelvanaManager;

// The application's delegate: runs the launch sequence that brings the other
// parts up in a fixed order, handing each what it needs (the hub, the
// updater, the login registration), owns the settings window controller and
// the updater controller, answers a reopen and carries out every way of
// quitting. It is also the updater's delegate. Main thread, except
// terminateApp.
class AppDelegate : public platform::ApplicationDelegate,
                    public platform::UpdaterDelegate,
                    public platform::ActionTarget,
                    public platform::ActionSender {
public:
    static constexpr const char* relaunchArgument = "--relaunch";
    static constexpr const char* quitAlwaysKeepsWindowsKey = "NSQuitAlwaysKeepsWindows";
    static constexpr const char* alternateQuitItemIdentifier = "NSAlternateQuitMenuItem";
    static constexpr const char* preferencesStoryboard = "Main";
    static constexpr const char* preferencesControllerIdentifier = "PrefsWindowController";

    // Talks to the helper through the process's distributed centre.
    AppDelegate();
    // Non-owning; the centre outlives the delegate.
    explicit AppDelegate(platform::DistributedNotificationCenter& notifications);
    // Stops observing; the delegate normally lives until the process ends.
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void applicationDidFinishLaunching() override;
    // Once the application stopped, before the process ends: closes what a
    // person left open (the menu, a drag, popovers, the panel, the settings
    // window), then lets go of the status item and the hub, which give back
    // their shortcuts, monitors and taps while the registries still exist.
    void tearDown();
    // Writes the grid saves still on their way, so the newest is on disk.
    void applicationWillTerminate() override;
    // Opens the status menu when relaunchOpensMenu is set, otherwise the
    // settings window. Always true.
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;
    bool applicationSupportsSecureRestorableState() const { return true; }

    // Actions of the status menu and the welcome popover.
    void openPreferences(const platform::ActionSender* sender);
    void showAbout(const platform::ActionSender* sender);
    void showZelvana(const platform::ActionSender* sender);
    void terminateWithSender(const platform::ActionSender* sender);
    void clearAllSpaces();
    // The quit procedure. From any thread: another one waits while the main
    // queue carries it out.
    void terminateApp();
    // The actions above by their selectors, for the menu items that send them.
    bool performAction(const std::string& action, const platform::ActionSender* sender) override;
    platform::WeakRef<platform::ActionTarget> actionTargetRef() const { return weak_.ref(); }
    // Where showZelvana: and clearAllSpaces go; the hub, once there.
    // Non-owning: the hub lives for the process.
    void setStatusMenuActions(StatusMenuActions* actions) { statusMenuActions_ = actions; }
    ZelvanaManager* manager() const { return manager_.get(); }

    // Relaunches through the helper instead, right away, so the answer is no.
    bool updaterShouldRelaunchApplication() override;

    // The helper is up: quits while a relaunch waits for it, else nothing (a
    // helper started at login answers too).
    void receivePong();
    // When the helper's pong ended the run: the whole seconds the helper
    // waits before it starts the application again.
    std::optional<std::int64_t> relaunchingIn() const { return relaunchingIn_; }
    // The system woke: relaunches after restartOnWakeDelay seconds.
    void receiveWakeNote(const platform::Notification& notification);

    platform::StandardUpdaterController* updaterController() const {
        return updaterController_.get();
    }
    // What the settings window is handed: the hub, the updater and the
    // login registration with the system.
    ViewController::Services settingsServices() const;
    platform::WindowController* prefsWindowController() const {
        return prefsWindowController_.get();
    }

    // A first launch: lastVersion absent, empty or not a whole decimal number
    // (an optional sign and digits only) that fits a signed 64-bit integer.
    static bool countsAsFirstLaunch(const std::optional<std::string>& lastVersion);

protected:
    // Opens the helper with "relaunch" and the whole seconds of the delay
    // (at once for NaN or a negative delay) and waits for its pong. The
    // application keeps running when the helper cannot be opened or never
    // answers.
    virtual void relaunchApp(double delaySeconds);
    // Keeps one wake observer exactly while gesture is 1 or more and
    // autoRestartOnWake is explicitly on.
    virtual void updateWakeObserver();
    // Asks the application to terminate on behalf of `sender`: this delegate
    // when the user's global defaults say quitting always keeps windows,
    // else a menu item made for the request with the alternate quit item's
    // identifier, which keeps them too.
    virtual void sendTerminate(const platform::ActionSender& sender);

private:
    // The launch sequence, in order.
    void detectFirstLaunch();
    void recordVersion();
    void noteRelaunchArgument();
    void createManager();
    void terminateRunningHelper();
    void createUpdater();
    void setUpStatusItem();
    void observeSettings();
    void observePowerOff();

    void loadPreferencesWindowController();
    void openStatusMenu();

    platform::DistributedNotificationCenter& notifications_;
    // Each relaunch request adds one; they stay for the process.
    std::vector<platform::Subscription> pongObservers_;
    platform::Subscription wakeObserver_;
    // The delay handed to the helper by the last relaunch request, and the
    // one that ended the run.
    std::int64_t requestedDelay_ = 0;
    std::optional<std::int64_t> relaunchingIn_;
    std::shared_ptr<platform::WindowController> prefsWindowController_;
    std::unique_ptr<platform::StandardUpdaterController> updaterController_;
    std::vector<platform::Subscription> observers_;
    StatusMenuActions* statusMenuActions_ = nullptr;
    // The hub, made by the launch and kept for the process.
    std::unique_ptr<ZelvanaManager> manager_;
    platform::WeakFactory<AppDelegate> weak_{this};
};

}  // namespace zelvana::core
