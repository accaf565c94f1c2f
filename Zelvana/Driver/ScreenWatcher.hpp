#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/core/Subscription.hpp"

namespace zelvana::platform {
class Window;
}

namespace zelvana::driver {

// Prints what a person watching the screen would notice, one line each: the
// space of every display after each switch, "panel: open" and "panel:
// closed", `status: "<title>"` when the status item's title changes, a
// menu's items when it opens, and an alert's message and buttons when it
// appears. It looks whenever the main run loop is about to wait, and
// whenever asked. Main thread.
class ScreenWatcher {
public:
    using Print = std::function<void(const std::string&)>;

    explicit ScreenWatcher(Print print);
    ScreenWatcher(const ScreenWatcher&) = delete;
    ScreenWatcher& operator=(const ScreenWatcher&) = delete;

    // Prints the displays' spaces and starts watching.
    void start();
    // Prints the panel and status changes since the last look.
    void check();
    // While false, menus that open are not printed.
    void setPrintsMenus(bool prints) { printsMenus_ = prints; }
    // Looks no more: the run is over.
    void stop();

private:
    void printShownSpaces();
    void printOpenedMenu();
    void printAlert(const platform::Window* window);

    Print print_;
    bool printsMenus_ = true;
    bool panelOpen_ = false;
    // The alerts printed, by window number: a sheet becomes key again after
    // an alert over it goes.
    std::set<std::uint32_t> alertsPrinted_;
    std::string statusTitle_;
    platform::Subscription spaceChanges_;
    platform::Subscription menuOpenings_;
    platform::Subscription keyWindows_;
    platform::Subscription runLoopTurns_;
};

}  // namespace zelvana::driver
