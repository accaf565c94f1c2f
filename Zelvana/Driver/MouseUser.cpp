#include "Zelvana/Driver/MouseUser.hpp"

#include <sstream>

#include "Zelvana/Driver/DesktopReport.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/desktop/Display.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/simulator/Mouse.hpp"

namespace zelvana::driver {

namespace {

using platform::EventType;
using platform::Point;

// A drag reaches the window in this many moves.
constexpr int kDragSteps = 4;

platform::Mouse& mouse() {
    return platform::Mouse::shared();
}

std::string described(Point point) {
    std::ostringstream text;
    text << "(" << point.x << ", " << point.y << ")";
    return text.str();
}

Refusal offDisplay(Point point) {
    if (MouseUser::isOnSomeDisplay(point)) return std::nullopt;
    return described(point) + " is off every display";
}

// The panel, or a popover (whose window floats at the menus' level): each
// closes at a click elsewhere.
bool closesAtAClickElsewhere() {
    if (openPanel()) return true;
    for (auto* window : platform::Desktop::shared().applicationWindows()) {
        if (window->isVisible() && window->level() == platform::Window::Level::popUpMenu) {
            return true;
        }
    }
    return false;
}

// A window, a menu bar, an open menu, or something of ours that a click
// anywhere else closes: something a click can reach.
bool isSomethingAt(Point point) {
    if (platform::Menu::trackingMenu() || closesAtAClickElsewhere()) return true;
    const auto& desktop = platform::Desktop::shared();
    for (const auto& display : desktop.displays()) {
        const auto bounds = desktop.boundsFromFrame(display.frame);
        if (bounds.contains(point) && point.y < bounds.minY() + platform::Display::menuBarHeight) {
            return true;
        }
    }
    const auto onScreen = desktop.frameFromBounds(platform::Rect{point, {}}).origin;
    return platform::WindowList::windowNumberAt(onScreen, 0) != 0;
}

}  // namespace

bool MouseUser::isOnSomeDisplay(Point point) {
    const auto& desktop = platform::Desktop::shared();
    for (const auto& display : desktop.displays()) {
        if (desktop.boundsFromFrame(display.frame).contains(point)) return true;
    }
    return false;
}

Refusal MouseUser::move(Point to) {
    platform::assertMainThread();
    if (auto refusal = offDisplay(to)) return refusal;
    if (held_) {
        mouse().dragTo(to);
    } else {
        mouse().moveTo(to);
    }
    return std::nullopt;
}

Refusal MouseUser::refuseWhileHeld() const {
    if (held_) return "the button is held down: \"mouse up\" first";
    return std::nullopt;
}

Refusal MouseUser::click(Point at) {
    if (auto refusal = refuseWhileHeld()) return refusal;
    if (auto refusal = offDisplay(at)) return refusal;
    if (!isSomethingAt(at)) return "there is nothing at " + described(at) + " to click";
    if (auto refusal = move(at)) return refusal;
    mouse().press(EventType::leftMouseDown);
    mouse().press(EventType::leftMouseUp);
    return std::nullopt;
}

Refusal MouseUser::clickMiddleOf(platform::Rect screenFrame) {
    const auto bounds = platform::Desktop::shared().boundsFromFrame(screenFrame);
    return click({bounds.midX(), bounds.midY()});
}

Refusal MouseUser::drag(Point from, Point to) {
    if (auto refusal = refuseWhileHeld()) return refusal;
    if (auto refusal = offDisplay(to)) return refusal;
    if (auto refusal = move(from)) return refusal;
    mouse().press(EventType::leftMouseDown);
    for (int step = 1; step <= kDragSteps; ++step) {
        const double share = static_cast<double>(step) / kDragSteps;
        mouse().dragTo({from.x + (to.x - from.x) * share, from.y + (to.y - from.y) * share});
    }
    mouse().press(EventType::leftMouseUp);
    return std::nullopt;
}

Refusal MouseUser::buttonDown(Point at) {
    if (auto refusal = refuseWhileHeld()) return refusal;
    if (auto refusal = move(at)) return refusal;
    mouse().press(EventType::leftMouseDown);
    held_ = true;
    return std::nullopt;
}

Refusal MouseUser::buttonUp() {
    platform::assertMainThread();
    if (!held_) return "the button is not held down";
    held_ = false;
    mouse().press(EventType::leftMouseUp);
    return std::nullopt;
}

}  // namespace zelvana::driver
