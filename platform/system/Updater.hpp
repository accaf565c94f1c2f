#pragma once

#include <memory>

#include "platform/core/ActionSender.hpp"

namespace zelvana::platform {

// What the update framework asks of the application.
class UpdaterDelegate {
public:
    virtual ~UpdaterDelegate() = default;
    // After an update was installed: may the updater relaunch the
    // application itself? Answering false leaves the relaunch to the caller.
    virtual bool updaterShouldRelaunchApplication() { return true; }
    // A check found the running version current.
    virtual void updaterDidNotFindUpdate() {}
};

// Customises the update user interface; nothing of it is modelled here.
class UserDriverDelegate {
public:
    virtual ~UserDriverDelegate() = default;
};

// The updater: automatic checks and the check itself. There is no update
// feed on this platform, so a check always finds the running version current.
// Main thread only.
class Updater {
public:
    // "SUEnableAutomaticChecks" in the standard user defaults.
    static constexpr const char* automaticChecksKey = "SUEnableAutomaticChecks";

    // The delegate is not owned: it is the controller's, which it outlives.
    explicit Updater(UpdaterDelegate* delegate) : delegate_(delegate) {}

    // Read from the user defaults (false when absent); setting it writes there,
    // so the choice holds at the next launch.
    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool checks);

    // Tells the delegate that no update was found.
    void checkForUpdates();
    int checkCount() const { return checkCount_; }

    // For tests: an update has been installed. The delegate decides whether
    // the updater relaunches the application; true when it would have.
    bool simulateUpdateInstalled();
    int relaunchCount() const { return relaunchCount_; }

private:
    UpdaterDelegate* delegate_;
    int checkCount_ = 0;
    int relaunchCount_ = 0;
};

// The standard controller that an application creates once and keeps: it owns
// the updater and starts it at once. Delegates are not owned and must outlive
// the controller.
class StandardUpdaterController {
public:
    StandardUpdaterController(UpdaterDelegate* updaterDelegate,
                              UserDriverDelegate* userDriverDelegate);
    StandardUpdaterController(const StandardUpdaterController&) = delete;
    StandardUpdaterController& operator=(const StandardUpdaterController&) = delete;

    Updater& updater() { return *updater_; }
    const Updater& updater() const { return *updater_; }
    UpdaterDelegate* updaterDelegate() const { return updaterDelegate_; }
    UserDriverDelegate* userDriverDelegate() const { return userDriverDelegate_; }

    // The menu action "Check for Updates…".
    void checkForUpdates(const ActionSender* sender);

private:
    UpdaterDelegate* updaterDelegate_;
    UserDriverDelegate* userDriverDelegate_;
    std::unique_ptr<Updater> updater_;
};

}  // namespace zelvana::platform
