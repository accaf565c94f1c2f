#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/appkit/Dragging.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/Pasteboard.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

class DraggingSession;
class View;
class Window;

// Whether a drag is over a destination of the dragging application or another.
enum class DraggingContext { outsideApplication = 0, withinApplication = 1 };

// One dragged thing: its pasteboard item and the image that follows the
// pointer, placed at `draggingFrame` in the source view's coordinates.
struct DraggingItem {
    PasteboardItem item;
    Rect draggingFrame;
    std::optional<Image> image;
};

// The side of a drag that started it. The session holds it until it ends.
class DraggingSource {
public:
    virtual ~DraggingSource() = default;
    virtual DragOperations sourceOperationMask(DraggingSession& session,
                                               DraggingContext context) = 0;
    virtual void draggingSessionWillBegin(DraggingSession& /*session*/, Point /*screenPoint*/) {}
    virtual void draggingSessionMoved(DraggingSession& /*session*/, Point /*screenPoint*/) {}
    // The operation the destination carried out; none for a cancelled or
    // refused drop.
    virtual void draggingSessionEnded(DraggingSession& /*session*/, Point /*screenPoint*/,
                                      DragOperations /*operation*/) {}
};

// The one drag under way: it follows the pointer over the windows of the
// desktop and tells the registered destination under it as it enters,
// moves, leaves and drops, then the last destination entered and the source
// that it ended. Points are global (the window server's, y down). Main
// thread; started by View::beginDraggingSession.
class DraggingSession {
public:
    // The drag under way, or null.
    static DraggingSession* current();

    const Pasteboard& draggingPasteboard() const { return pasteboard_; }
    const std::vector<DraggingItem>& draggingItems() const { return items_; }
    Point draggingLocation() const { return location_; }
    // The destination under the pointer, if any.
    View* destination() const { return destination_.lock().get(); }

    // The pointer moved (a dragged or moved event).
    void moveTo(Point location);
    // The button went up: the destination under the pointer that took the
    // drag prepares, performs and concludes it; the session then ends.
    // Returns whether a drop was carried out.
    bool drop();
    // Escape: no drop; the destination under the pointer is left.
    void cancel();

    // Ends any drag without telling anybody.
    static void resetForTesting();

private:
    friend class View;
    DraggingSession(std::vector<DraggingItem> items, std::shared_ptr<DraggingSource> source,
                    Point location);
    static DraggingSession* begin(std::vector<DraggingItem> items,
                                  std::shared_ptr<DraggingSource> source, Point location);

    // The registered destination at a global point.
    std::shared_ptr<View> destinationAt(Point location) const;
    DraggingInfo infoAt(Point location) const;
    void leave(const DraggingInfo& info);
    void end(DragOperations operation);

    Pasteboard pasteboard_;
    std::vector<DraggingItem> items_;
    std::shared_ptr<DraggingSource> source_;
    Point location_;
    std::weak_ptr<View> destination_;
    // The last destination entered, told when the drag ends even if left.
    std::weak_ptr<View> lastEntered_;
    DragOperations accepted_;
};

}  // namespace zelvana::platform
