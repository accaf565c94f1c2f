#include "platform/system/Updater.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::platform {

bool Updater::automaticallyChecksForUpdates() const {
    return UserDefaults::standard().boolForKey(automaticChecksKey);
}

void Updater::setAutomaticallyChecksForUpdates(bool checks) {
    platform::assertMainThread();
    UserDefaults::standard().set(automaticChecksKey, checks);
}

void Updater::checkForUpdates() {
    platform::assertMainThread();
    ++checkCount_;
    if (delegate_) delegate_->updaterDidNotFindUpdate();
}

bool Updater::simulateUpdateInstalled() {
    platform::assertMainThread();
    if (delegate_ && !delegate_->updaterShouldRelaunchApplication()) return false;
    ++relaunchCount_;
    return true;
}

StandardUpdaterController::StandardUpdaterController(UpdaterDelegate* updaterDelegate,
                                                     UserDriverDelegate* userDriverDelegate)
    : updaterDelegate_(updaterDelegate),
      userDriverDelegate_(userDriverDelegate),
      updater_(std::make_unique<Updater>(updaterDelegate)) {}

void StandardUpdaterController::checkForUpdates(const ActionSender* /*sender*/) {
    updater_->checkForUpdates();
}

}  // namespace zelvana::platform
