#include "platform/input/Mouse.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/WindowServer.hpp"
#include "platform/input/EventTap.hpp"
#include "platform/input/Keyboard.hpp"

namespace zelvana::platform {

Mouse& Mouse::shared() {
    static Mouse instance;
    return instance;
}

void Mouse::moveTo(Point location) {
    if (associated_) location_ = location;
    deliver(leftButtonDown_ ? EventType::leftMouseDragged : EventType::mouseMoved);
}

void Mouse::press(EventType button) {
    if (button == EventType::leftMouseDown) leftButtonDown_ = true;
    const bool release = button == EventType::leftMouseUp;
    deliver(button);
    if (release) {
        leftButtonDown_ = false;
        captured_ = false;
    }
}

void Mouse::scrollWheel(double deltaX, double deltaY) {
    Event event;
    event.type = EventType::scrollWheel;
    event.timestamp = clock().uptime();
    event.modifierFlags = Keyboard::shared().modifierFlags();
    event.location = location_;
    event.scrollingDeltaX = deltaX;
    event.scrollingDeltaY = deltaY;
    auto passed = EventTap::post(std::move(event));
    if (!passed) return;
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
    location_ = location;
    warps_.push_back(location);
}

void Mouse::resetForTesting() {
    location_ = Point{};
    warps_.clear();
    associated_ = true;
    leftButtonDown_ = false;
    captured_ = false;
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
    const WindowServer* server = WindowServer::current();
    const auto hit = server ? server->windowAt(location_) : std::nullopt;
    if (hit) {
        passed->window = hit->window;
        passed->locationInWindow = hit->locationInWindow;
    }
    // A press in one of our windows reaches it even while another application
    // is active, and the drags and release of that press follow it anywhere.
    if (type == EventType::leftMouseDown) captured_ = hit.has_value();
    if (hit || captured_ || Application::shared().isActive()) {
        Application::shared().postEvent(std::move(*passed), false);
    } else {
        EventMonitors::dispatchGlobal(*passed);
    }
}

}  // namespace zelvana::platform
