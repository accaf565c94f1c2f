#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/core/Subscription.hpp"

namespace zelvana::driver {

// Prints what a person watching the screen would notice, one line each: the
// space of every display after each switch, "panel: open" and "panel:
// closed", `status: "<title>"` when the status item's title changes, and a
// menu's items when it opens. It looks whenever the main run loop is about
// to wait, and whenever asked. Main thread.
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
    // Looks no more: the run is over.
    void stop();

private:
    void printShownSpaces();
    void printOpenedMenu();

    Print print_;
    bool panelOpen_ = false;
    std::string statusTitle_;
    platform::Subscription spaceChanges_;
    platform::Subscription menuOpenings_;
    platform::Subscription runLoopTurns_;
};

}  // namespace zelvana::driver
