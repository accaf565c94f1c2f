#include "platform/appkit/StatusBarButton.hpp"

#include <utility>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

Rect StatusBarButton::bounds() const {
    return item_ ? Rect{{}, item_->buttonSize()} : View::bounds();
}

void StatusBarButton::setTitle(std::string title) {
    platform::assertMainThread();
    Button::setTitle(std::move(title));
    if (item_) item_->relayout();
}

void StatusBarButton::setImage(std::optional<Image> image) {
    platform::assertMainThread();
    Button::setImage(std::move(image));
    if (item_) item_->relayout();
}

bool StatusBarButton::performClick() {
    assertMainThread();
    if (item_ && item_->menu()) {
        const Window* window = item_->window();
        if (window && window->isVisible()) {
            item_->menu()->popUpBelow(window->frame());
        } else {
            item_->menu()->beginTracking();
        }
        return true;
    }
    return Button::performClick();
}

void StatusBarButton::mouseDown(const Event& event) {
    assertMainThread();
    // The menu takes the rest of the press, its release included.
    if (item_ && item_->menu()) {
        performClick();
        return;
    }
    Button::mouseDown(event);
}

void StatusBarButton::drawRect(GraphicsContext& context, Rect /*dirtyRect*/) {
    assertMainThread();
    const Rect b = bounds();
    if (item_ && item_->menu() && item_->menu()->isTracking()) {
        context.setFillColor(Color::white(0, 0.1));
        context.fill(BezierPath::roundedRect(b.insetBy(0, 2), 4, 4));
    }
    const TextLayout title(this->title(), StatusItem::menuBarFont());
    double used = title.size().width;
    if (image())
        used += image()->size().width + (this->title().empty() ? 0 : StatusItem::imageTitleGap);
    double x = (b.width() - used) / 2;
    if (image()) {
        const Size size = image()->size();
        context.drawImage(*image(), Rect{{x, (b.height() - size.height) / 2}, size}, Rect{{}, size},
                          CompositingOperation::sourceOver, 1);
        x += size.width + StatusItem::imageTitleGap;
    }
    if (this->title().empty()) return;
    const double lineHeight = StatusItem::menuBarFont().lineHeight();
    context.drawText(title, Point{x, (b.height() - lineHeight) / 2}, title.size().width,
                     TextAlignment::left, Color::labelColor());
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
