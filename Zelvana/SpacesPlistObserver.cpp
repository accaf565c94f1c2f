#include "Zelvana/SpacesPlistObserver.hpp"

#include <algorithm>
#include <iostream>

#include "Zelvana/AppNotifications.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

SpacesPlistObserver::SpacesPlistObserver()
    : fileSystemMonitor_(std::make_unique<FileSystemMonitor>()) {}

bool SpacesPlistObserver::start() {
    platform::assertMainThread();
    fileSystemMonitor_->setDelegate(this);
    fileSystemMonitor_->setMonitoredURLs({spacesPlist_.path()});
    return fileSystemMonitor_->start(latency);
}

void SpacesPlistObserver::filesChanged(const std::vector<FileEvent>& events) {
    platform::assertMainThread();
    // Only a plain modification counts: flags that combine it with other
    // bits (created, renamed, is-file) do not.
    const bool modified = std::ranges::any_of(
        events, [](const FileEvent& event) { return event.flag == FileEventFlag::itemModified; });
    if (modified) reread();
}

void SpacesPlistObserver::reread() {
    platform::assertMainThread();
    const auto spaces = spacesPlist_.read();
    if (!spaces) return;
    const auto screenCount = platform::Screen::screens().size();
    std::cout << spaces->monitors.size() << ":" << screenCount << std::endl;
    if (spaces->monitors.size() != screenCount) return;
    postAppNotification(AppNotification::plistUpdated, *spaces);
}

}  // namespace zelvana::core
