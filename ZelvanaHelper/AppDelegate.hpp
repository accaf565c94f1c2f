#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/core/Weak.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/DistributedNotificationCenter.hpp"

namespace zelvana::helper {

// The relaunch helper: started by the main application with "relaunch" and a
// delay, it waits until the main application has quit and opens it again
// with "--relaunch"; started at login without arguments, it opens the main
// application unless that already runs. Either way it quits a few seconds
// after its work is done. Everything runs on the main queue.
class AppDelegate final : public platform::ApplicationDelegate, public platform::ActionSender {
public:
    static constexpr const char* pongNotification = "com.quorrim.Zelvana.pong";
    // The main application posts the second name; both mean "quit".
    static constexpr const char* terminateHelperNotification =
        "com.quorrim.Zelvana.terminateHelper";
    static constexpr const char* terminateLauncherNotification =
        "com.quorrim.Zelvana.terminateLauncher";
    static constexpr int quitDelaySeconds = 8;

    // Talks through the process's distributed centre and shared workspace.
    AppDelegate();
    // Non-owning; both outlive the delegate.
    AppDelegate(platform::DistributedNotificationCenter& notifications,
                platform::Workspace& workspace);
    // Stops observing; what is still scheduled does nothing.
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    const std::string& mainAppIdentifier() const { return mainAppIdentifier_; }

    void applicationDidFinishLaunching() override;
    // A first launch of the main application, or a relaunch ("--relaunch").
    enum class Launch { first, relaunch };
    // Opens the main application's bundle, four levels above our own, with
    // "--relaunch" for a relaunch, and quits eight seconds later either way.
    void launchMainApp(Launch launch);
    void delayedTerminate(std::int64_t seconds);
    // From any thread; hops to the main queue.
    void terminate();
    // The handler of the main application's terminate notification.
    void terminateAfterEight();

private:
    void observeTerminateNotifications();
    void scheduleRelaunch(const std::vector<std::string>& arguments);
    void relaunchAttempt(int attempt);
    bool isMainAppRunning() const;
    void after(std::int64_t seconds, std::function<void(AppDelegate&)> work);

    platform::DistributedNotificationCenter& notifications_;
    platform::Workspace& workspace_;
    const std::string mainAppIdentifier_ = "com.quorrim.Zelvana";
    std::int64_t delay_ = 0;
    std::vector<platform::Subscription> observers_;
    platform::WeakFactory<AppDelegate> weak_{this};
};

}  // namespace zelvana::helper
