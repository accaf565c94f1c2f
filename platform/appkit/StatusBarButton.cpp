#include "platform/appkit/StatusBarButton.hpp"

#include <utility>

#include "platform/appkit/StatusItem.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

Rect StatusBarButton::bounds() const {
    return item_ ? Rect{{}, item_->buttonSize()} : View::bounds();
}

void StatusBarButton::setTitle(std::string title) {
    Button::setTitle(std::move(title));
    if (item_) item_->relayout();
}

void StatusBarButton::setImage(std::optional<Image> image) {
    Button::setImage(std::move(image));
    if (item_) item_->relayout();
}

bool StatusBarButton::performClick() {
    assertMainThread();
    if (item_ && item_->menu()) {
        item_->menu()->beginTracking();
        return true;
    }
    return Button::performClick();
}

bool StatusBarButton::accepts(const DraggingInfo& info) const {
    return destination_ && info.draggingPasteboard().hasAnyType(registeredDraggedTypes());
}

DragOperations StatusBarButton::dragEntered(const DraggingInfo& info) {
    assertMainThread();
    dragInside_ = accepts(info);
    return dragInside_ ? destination_->draggingEntered(info) : DragOperation::none;
}

DragOperations StatusBarButton::dragMoved(const DraggingInfo& info) {
    assertMainThread();
    return dragInside_ && destination_ ? destination_->draggingUpdated(info) : DragOperation::none;
}

void StatusBarButton::dragExited(const DraggingInfo& info) {
    assertMainThread();
    if (!std::exchange(dragInside_, false) || !destination_) return;
    destination_->draggingExited(&info);
}

bool StatusBarButton::dragDropped(const DraggingInfo& info) {
    assertMainThread();
    if (!std::exchange(dragInside_, false) || !destination_) return false;
    if (!destination_->prepareForDragOperation(info)) return false;
    if (!destination_->performDragOperation(info)) return false;
    destination_->concludeDragOperation(info);
    return true;
}

}  // namespace zelvana::platform
