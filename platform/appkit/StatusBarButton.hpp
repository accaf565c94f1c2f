#pragma once

#include <string>
#include <vector>

#include "platform/appkit/Button.hpp"
#include "platform/appkit/Dragging.hpp"

namespace zelvana::platform {

class StatusItem;

// The button of a status item in the menu bar. A click opens the item's menu
// when it has one (as the button goes down, hanging below the button), else
// sends the button's action. Drags that carry one of
// the registered types reach its dragging destination. Its bounds are its
// size in the menu bar. Main thread only.
class StatusBarButton : public Button {
public:
    explicit StatusBarButton(StatusItem& item) : item_(&item) {}

    Rect bounds() const override;
    bool performClick() override;
    void mouseDown(const Event& event) override;
    // No bezel: the image and title in the menu bar's font, on a highlight
    // while the item's menu is open.
    void drawRect(GraphicsContext& context, Rect dirtyRect) override;
    // As a button's, and the item takes its new width in the bar.
    void setTitle(std::string title);
    void setImage(std::optional<Image> image);

    // Non-owning; the owner keeps it alive while drags can reach the button.
    void setDraggingDestination(DraggingDestination* destination) { destination_ = destination; }

    // The system's side of a drag passing over the button. A drag without a
    // registered type gets no operation and the destination hears nothing.
    DragOperations dragEntered(const DraggingInfo& info);
    DragOperations dragMoved(const DraggingInfo& info);
    void dragExited(const DraggingInfo& info);
    // The drop: prepare, perform and conclude, each only after the previous
    // agreed. Returns whether the drop was carried out.
    bool dragDropped(const DraggingInfo& info);

private:
    friend class StatusItem;
    bool accepts(const DraggingInfo& info) const;

    StatusItem* item_;
    DraggingDestination* destination_ = nullptr;
    // Whether the drag in progress was let in.
    bool dragInside_ = false;
};

}  // namespace zelvana::platform
