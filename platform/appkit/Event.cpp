#include "platform/appkit/Event.hpp"

#include "platform/appkit/EventMonitor.hpp"

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

std::shared_ptr<EventMonitor> Event::addLocalMonitor(EventTypeMask mask, LocalHandler handler) {
    return EventMonitor::install(std::make_shared<EventMonitor>(EventMonitor::Scope::local, mask,
                                                                std::move(handler), nullptr));
}

std::shared_ptr<EventMonitor> Event::addGlobalMonitor(EventTypeMask mask, GlobalHandler handler) {
    return EventMonitor::install(std::make_shared<EventMonitor>(EventMonitor::Scope::global, mask,
                                                                nullptr, std::move(handler)));
}

void Event::removeMonitor(const std::shared_ptr<EventMonitor>& monitor) {
    EventMonitor::uninstall(monitor);
}

}  // namespace zelvana::platform
