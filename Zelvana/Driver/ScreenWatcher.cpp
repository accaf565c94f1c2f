#include "Zelvana/Driver/ScreenWatcher.hpp"

#include "Zelvana/Driver/Controls.hpp"
#include "Zelvana/Driver/DesktopReport.hpp"
#include "platform/appkit/AlertPanel.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/StatusBarButton.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::driver {

ScreenWatcher::ScreenWatcher(Print print) : print_(std::move(print)) {}

void ScreenWatcher::start() {
    platform::assertMainThread();
    printShownSpaces();
    spaceChanges_ = platform::Workspace::shared().notificationCenter().addObserver(
        platform::Workspace::activeSpaceDidChangeNotification,
        [this](const platform::Notification&) {
            check();
            printShownSpaces();
        });
    auto& center = platform::NotificationCenter::defaultCenter();
    menuOpenings_ = center.addObserver(platform::kMenuDidBeginTrackingNotification,
                                       [this](const platform::Notification&) {
                                           if (printsMenus_) printOpenedMenu();
                                       });
    keyWindows_ = center.addObserver(platform::Window::didBecomeKeyNotification,
                                     [this](const platform::Notification& note) {
                                         printAlert(platform::Window::notifyingWindow(note));
                                     });
    const auto observer = platform::RunLoopObserver::create(
        platform::RunLoopActivity::beforeWaiting, true, 0,
        [this](platform::RunLoopObserver&, platform::RunLoopActivity) { check(); });
    runLoopTurns_ =
        platform::RunLoop::main().addObserver(observer, platform::kCFRunLoopCommonModes);
    check();
}

void ScreenWatcher::check() {
    platform::assertMainThread();
    if (const bool open = openPanel() != nullptr; open != panelOpen_) {
        panelOpen_ = open;
        print_(open ? "panel: open" : "panel: closed");
    }
    const auto* item = ourStatusItem();
    const std::string title = item && item->button() ? item->button()->title() : "";
    if (title != statusTitle_) {
        statusTitle_ = title;
        print_("status: \"" + lineText(title) + "\"");
    }
}

void ScreenWatcher::stop() {
    spaceChanges_.cancel();
    menuOpenings_.cancel();
    runLoopTurns_.cancel();
}

void ScreenWatcher::printShownSpaces() {
    for (const auto& line : describeShownSpaces()) print_(line);
}

void ScreenWatcher::printAlert(const platform::Window* window) {
    const auto* alert = dynamic_cast<const platform::AlertPanel*>(window);
    if (!alert || !alertsPrinted_.insert(alert->windowNumber()).second) return;
    check();
    for (const auto& line : describeAlert(*alert)) print_(line);
}

void ScreenWatcher::printOpenedMenu() {
    check();
    if (const auto* menu = platform::Menu::trackingMenu()) {
        for (const auto& line : describeMenu(*menu)) print_(line);
    }
}

}  // namespace zelvana::driver
