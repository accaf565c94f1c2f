#include "platform/simulator/Mouse.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowServer.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/input/EventTap.hpp"
#include "platform/simulator/Keyboard.hpp"

namespace zelvana::platform {

namespace {

bool isButtonDown(EventType type) {
    return type == EventType::leftMouseDown || type == EventType::rightMouseDown ||
           type == EventType::otherMouseDown;
}

// Another application takes the focus from ours.
void pressedOutsideOurWindows(Point location) {
    if (WindowServer* server = WindowServer::current()) {
        server->pressedOutsideOurWindows(location);
    } else {
        Application::shared().deactivate();
    }
}

}  // namespace

Mouse& Mouse::shared() {
    platform::assertMainThread();
    static Mouse instance;
    return instance;
}

Point Mouse::appKitLocation() const {
    const auto screens = Screen::screens();
    if (screens.empty()) return location_;
    return {location_.x, screens.front().frame().height() - location_.y};
}

void Mouse::moveTo(Point location) {
    platform::assertMainThread();
    if (associated_) location_ = location;
    deliver(EventType::mouseMoved);
}

void Mouse::press(EventType button) {
    platform::assertMainThread();
    deliver(button);
}

void Mouse::dragTo(Point location) {
    if (associated_) location_ = location;
    deliver(EventType::leftMouseDragged);
}

void Mouse::scrollWheel(double deltaX, double deltaY) {
    platform::assertMainThread();
    Event event;
    event.type = EventType::scrollWheel;
    event.timestamp = clock().uptime();
    event.modifierFlags = Keyboard::shared().modifierFlags();
    event.location = location_;
    event.scrollingDeltaX = deltaX;
    event.scrollingDeltaY = deltaY;
    auto passed = EventTap::post(std::move(event));
    if (!passed) return;
    if (Menu* menu = Menu::trackingMenu()) {
        menu->scrollWheel(deltaY);
        return;
    }
    const WindowServer* server = WindowServer::current();
    const auto hit = server ? server->windowAt(location_) : std::nullopt;
    // At once rather than queued: the window may be gone by the next turn of the loop.
    if (hit) {
        passed->window = hit->window;
        passed->locationInWindow = hit->locationInWindow;
        Application::shared().sendEvent(*passed);
    } else {
        EventMonitors::dispatchGlobal(*passed);
    }
}

void Mouse::warpCursorPosition(Point location) {
    platform::assertMainThread();
    location_ = location;
    warps_.push_back(location);
}

void Mouse::resetForTesting() {
    platform::assertMainThread();
    location_ = Point{};
    warps_.clear();
    associated_ = true;
    captured_ = false;
}

void Mouse::showCursorUnderPointer() const {
    const WindowServer* server = WindowServer::current();
    const auto hit = server ? server->windowAt(location_) : std::nullopt;
    Window::updateCursor(hit ? hit->window : nullptr, hit ? hit->locationInWindow : Point{});
}

bool Mouse::deliverToWindowUnderPointer(Event event) const {
    const WindowServer* server = WindowServer::current();
    const auto hit = server ? server->windowAt(location_) : std::nullopt;
    if (!hit) return false;
    event.window = hit->window;
    event.locationInWindow = hit->locationInWindow;
    Application::shared().sendEvent(event);
    return true;
}

void Mouse::deliver(EventType type) {
    Event event;
    event.type = type;
    event.timestamp = clock().uptime();
    // Like every event, a mouse event carries the modifier keys now held.
    event.modifierFlags = Keyboard::shared().modifierFlags();
    event.location = location_;
    auto passed = EventTap::post(std::move(event));
    if (!passed) return;
    if (type == EventType::mouseMoved) showCursorUnderPointer();
    // An open menu lies above every window: it takes the moves, buttons and drags.
    if (Menu* menu = Menu::trackingMenu()) {
        if (type != EventType::mouseMoved) captured_ = false;
        menu->mouseEvent(type, appKitLocation());
        return;
    }
    if (type == EventType::leftMouseDown) captured_ = false;
    // The moves queued before a press or drag reach the application first:
    // one arriving later would take a drag back to where the press was.
    if (type != EventType::mouseMoved) Application::shared().dispatchPendingEvents();
    if (type != EventType::mouseMoved && deliverToWindowUnderPointer(*passed)) {
        if (type == EventType::leftMouseDown) captured_ = true;
        return;
    }
    // The drags and release of a press in one of our windows follow it
    // anywhere (a drag session under way takes them).
    if (captured_ && type != EventType::mouseMoved) {
        if (type == EventType::leftMouseUp) captured_ = false;
        Application::shared().sendEvent(*passed);
        return;
    }
    // An open menu of ours takes the press and only closes. Otherwise our
    // application, if it was frontmost, still hears of it, so what closes on
    // a click outside closes.
    const bool menuOpen = Menu::trackingMenu() != nullptr;
    const bool ours = Application::shared().isActive() || menuOpen;
    if (isButtonDown(type) && !menuOpen) pressedOutsideOurWindows(location_);
    if (ours) {
        Application::shared().postEvent(std::move(*passed), false);
    } else {
        EventMonitors::dispatchGlobal(*passed);
    }
}

}  // namespace zelvana::platform
