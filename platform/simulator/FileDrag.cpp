#include "platform/simulator/FileDrag.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/DraggingSession.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/View.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/simulator/Mouse.hpp"

namespace zelvana::platform {

namespace {

Pasteboard& dragPasteboard() {
    return Pasteboard::withName(kPasteboardNameDrag);
}

DraggingDestination& asDestination(View& view) {
    return dynamic_cast<DraggingDestination&>(view);
}

DraggingInfo infoAt(Point location) {
    return draggingInfoAt(dragPasteboard(), location);
}

}  // namespace

PasteboardItem FileDrag::fileItem(const std::filesystem::path& path) {
    PasteboardItem item;
    item.setString("file://" + path.string(), kPasteboardTypeFileURL);
    return item;
}

PasteboardItem FileDrag::textItem(const std::string& text) {
    PasteboardItem item;
    item.setString(text, kPasteboardTypeString);
    return item;
}

FileDrag::FileDrag(std::vector<PasteboardItem> items, ModifierFlags modifiers)
    : modifiers_(modifiers), location_(Mouse::shared().location()) {
    platform::assertMainThread();
    dragPasteboard().clearContents();
    dragPasteboard().writeObjects(std::move(items));
}

Event FileDrag::event(EventType type) const {
    Event event;
    event.type = type;
    event.modifierFlags = modifiers_;
    event.location = location_;
    event.timestamp = clock().uptime();
    return event;
}

std::shared_ptr<View> FileDrag::destinationAt(Point location) const {
    return draggingDestinationAt(dragPasteboard(), location);
}

void FileDrag::leaveDestination() {
    if (auto left = destination_.lock()) asDestination(*left).draggingExited(nullptr);
    destination_.reset();
}

void FileDrag::moveTo(Point location) {
    platform::assertMainThread();
    location_ = location;
    Mouse::shared().followDrag(location);
    EventMonitors::dispatchGlobal(event(EventType::leftMouseDragged));
    const auto destination = destinationAt(location);
    const auto info = infoAt(location);
    if (destination == destination_.lock()) {
        if (destination) asDestination(*destination).draggingUpdated(info);
        return;
    }
    leaveDestination();
    if (!destination) return;
    destination_ = destination;
    asDestination(*destination).draggingEntered(info);
}

void FileDrag::setModifiers(ModifierFlags modifiers) {
    platform::assertMainThread();
    modifiers_ = modifiers;
    const Event changed = event(EventType::flagsChanged);
    if (Application::shared().isActive()) {
        EventMonitors::dispatchLocal(changed);
    } else {
        EventMonitors::dispatchGlobal(changed);
    }
}

bool FileDrag::drop() {
    platform::assertMainThread();
    bool dropped = false;
    if (auto destination = destination_.lock()) {
        auto& target = asDestination(*destination);
        const auto info = infoAt(location_);
        dropped = target.prepareForDragOperation(info) && target.performDragOperation(info);
        if (dropped) target.concludeDragOperation(info);
    }
    destination_.reset();
    EventMonitors::dispatchGlobal(event(EventType::leftMouseUp));
    return dropped;
}

}  // namespace zelvana::platform
