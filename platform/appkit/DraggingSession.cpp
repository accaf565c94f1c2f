#include "platform/appkit/DraggingSession.hpp"

#include <algorithm>

#include "platform/appkit/Screen.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowServer.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

namespace {

std::unique_ptr<DraggingSession>& currentSession() {
    static std::unique_ptr<DraggingSession> session;
    return session;
}

bool takes(const Pasteboard& pasteboard, const View& view) {
    const auto& types = view.registeredDraggedTypes();
    return !types.empty() && dynamic_cast<const DraggingDestination*>(&view) &&
           pasteboard.hasAnyType(types);
}

Pasteboard& dragPasteboard() {
    return Pasteboard::withName(kPasteboardNameDrag);
}

}  // namespace

std::shared_ptr<View> draggingDestinationAt(const Pasteboard& pasteboard, Point location) {
    const WindowServer* server = WindowServer::current();
    const auto hit = server ? server->windowAt(location) : std::nullopt;
    if (!hit || !hit->window || !hit->window->contentView()) return nullptr;
    for (View* view = hit->window->contentView()->hitTest(hit->locationInWindow); view;
         view = view->superview()) {
        if (takes(pasteboard, *view)) return view->sharedView();
    }
    return nullptr;
}

DraggingInfo draggingInfoAt(const Pasteboard& pasteboard, Point location) {
    const auto screens = Screen::screens();
    const double height = screens.empty() ? 0 : screens.front().frame().height();
    DraggingInfo info(pasteboard, Point{location.x, height - location.y});
    const WindowServer* server = WindowServer::current();
    if (const auto hit = server ? server->windowAt(location) : std::nullopt) {
        info.draggingLocation = hit->locationInWindow;
    }
    return info;
}

DraggingSession* DraggingSession::current() {
    return currentSession().get();
}

DraggingSession::DraggingSession(std::vector<DraggingItem> items,
                                 std::shared_ptr<DraggingSource> source, Point location)
    : items_(std::move(items)), source_(std::move(source)), location_(location) {
    std::vector<PasteboardItem> written;
    for (const auto& item : items_) written.push_back(item.item);
    dragPasteboard().clearContents();
    dragPasteboard().writeObjects(std::move(written));
}

const Pasteboard& DraggingSession::draggingPasteboard() const {
    return dragPasteboard();
}

DraggingSession* DraggingSession::begin(std::vector<DraggingItem> items,
                                        std::shared_ptr<DraggingSource> source, Point location) {
    assertMainThread();
    if (currentSession()) {
        UnifiedLog::write(LogType::Error, "Refused to begin a drag while another is under way");
        return nullptr;
    }
    if (items.empty() || !source) {
        UnifiedLog::write(LogType::Error, "Refused to begin a drag without items or source");
        return nullptr;
    }
    currentSession().reset(new DraggingSession(std::move(items), std::move(source), location));
    DraggingSession* session = currentSession().get();
    session->source_->draggingSessionWillBegin(*session, location);
    // The image is over whatever lies under the pointer from the start.
    session->moveTo(location);
    return current();
}

DraggingInfo DraggingSession::infoAt(Point location) const {
    DraggingInfo info = draggingInfoAt(dragPasteboard(), location);
    // Every destination here is one of ours.
    info.sourceOperationMask = source_->sourceOperationMask(const_cast<DraggingSession&>(*this),
                                                            DraggingContext::withinApplication);
    return info;
}

void DraggingSession::leave(const DraggingInfo& info) {
    if (auto old = destination_.lock()) {
        destination_.reset();
        dynamic_cast<DraggingDestination&>(*old).draggingExited(&info);
    }
    accepted_ = {};
}

void DraggingSession::moveTo(Point location) {
    assertMainThread();
    location_ = location;
    const auto source = source_;  // held: a callback may end the session
    const DraggingInfo info = infoAt(location);
    const auto found = draggingDestinationAt(dragPasteboard(), location);
    const auto old = destination_.lock();
    if (found != old) {
        leave(info);
        if (found) {
            destination_ = found;
            lastEntered_ = found;
            auto& destination = dynamic_cast<DraggingDestination&>(*found);
            accepted_ = destination.draggingEntered(info);
            // The system updates a destination from its entry on, also while
            // the pointer rests: the first update follows at once.
            if (destination_.lock() == found) accepted_ = destination.draggingUpdated(info);
        }
    } else if (found) {
        accepted_ = dynamic_cast<DraggingDestination&>(*found).draggingUpdated(info);
    }
    source->draggingSessionMoved(*this, location);
}

bool DraggingSession::drop() {
    assertMainThread();
    const auto source = source_;
    const DraggingInfo info = infoAt(location_);
    const auto target = destination_.lock();
    bool performed = false;
    if (target && !accepted_.isEmpty()) {
        auto& destination = dynamic_cast<DraggingDestination&>(*target);
        performed =
            destination.prepareForDragOperation(info) && destination.performDragOperation(info);
        if (performed) destination.concludeDragOperation(info);
    } else {
        leave(info);
    }
    end(performed ? accepted_ : DragOperations{});
    return performed;
}

void DraggingSession::cancel() {
    assertMainThread();
    const DraggingInfo info = infoAt(location_);
    leave(info);
    end({});
}

void DraggingSession::end(DragOperations operation) {
    // Off the books first: the callbacks may start the next drag.
    const std::unique_ptr<DraggingSession> self = std::move(currentSession());
    const DraggingInfo info = infoAt(location_);
    if (auto last = lastEntered_.lock()) {
        dynamic_cast<DraggingDestination&>(*last).draggingEnded(info);
    }
    source_->draggingSessionEnded(*this, location_, operation);
}

void DraggingSession::resetForTesting() {
    currentSession().reset();
}

DraggingSession* View::beginDraggingSession(std::vector<DraggingItem> items, const Event& event,
                                            std::shared_ptr<DraggingSource> source) {
    return DraggingSession::begin(std::move(items), std::move(source), event.location);
}

}  // namespace zelvana::platform
