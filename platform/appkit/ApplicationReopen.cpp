// One running copy of the application, and the reopen request of another launch.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/foundation/DistributedNotificationCenter.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::platform {

namespace {

constexpr int kHeldElsewhere = -2;

// <runtime>/<bundle identifier>.lock, held by the running copy: its open
// file, kHeldElsewhere, or -1 when there is no lock to take (every copy runs).
int lockRunningCopy(const std::string& identifier) {
    const auto runtime = SystemFolders::runtime();
    if (!runtime || identifier.find('/') != std::string::npos) return -1;
    const auto path = *runtime / (identifier + ".lock");
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0) return -1;
    if (::flock(file, LOCK_EX | LOCK_NB) == 0) return file;
    const bool held = errno == EWOULDBLOCK;
    ::close(file);
    return held ? kHeldElsewhere : -1;
}

}  // namespace

bool Application::handOverToRunningCopy() {
    assertMainThread();
    if (runningCopyLock_ >= 0 || reopenRequests_.isActive()) return false;
    const auto identifier = Bundle::main().bundleIdentifier();
    if (!identifier || identifier->empty()) return false;
    auto& center = DistributedNotificationCenter::defaultCenter();
    // Listening before locking: whoever holds the lock hears every request.
    reopenRequests_ = center.addObserver(reopenNotification, *identifier,
                                         [this](const Notification&) { reopen(); });
    const int lock = lockRunningCopy(*identifier);
    if (lock != kHeldElsewhere) {
        runningCopyLock_ = lock;
        return false;
    }
    reopenRequests_.cancel();
    center.postNotificationName(reopenNotification, *identifier);
    return true;
}

void Application::reopen() {
    assertMainThread();
    if (terminating_) return;
    if (!launched_) {
        reopenPending_ = true;
        return;
    }
    const Window* key = Window::keyWindow();
    if (delegate_) delegate_->applicationShouldHandleReopen(key && key->isVisible());
}

}  // namespace zelvana::platform
