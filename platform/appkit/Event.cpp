#include "platform/appkit/Event.hpp"

#include "platform/appkit/EventMonitors.hpp"

namespace zelvana::platform {

Event Event::keyEvent(EventType type, std::uint16_t keyCode, ModifierFlags flags,
                      std::string characters, std::string charactersIgnoringModifiers) {
    Event event{keyCode, flags, std::move(characters), std::move(charactersIgnoringModifiers)};
    event.type = type;
    event.timestamp = clock().uptime();
    return event;
}

Event Event::mouseEvent(EventType type, Point locationInWindow, Window* window) {
    Event event;
    event.type = type;
    event.timestamp = clock().uptime();
    event.window = window;
    event.locationInWindow = locationInWindow;
    return event;
}

Subscription Event::addLocalMonitor(EventTypeMask mask, LocalHandler handler) {
    return EventMonitors::install(EventMonitors::Scope::local, mask, std::move(handler), nullptr);
}

Subscription Event::addGlobalMonitor(EventTypeMask mask, GlobalHandler handler) {
    return EventMonitors::install(EventMonitors::Scope::global, mask, nullptr, std::move(handler));
}

}  // namespace zelvana::platform
