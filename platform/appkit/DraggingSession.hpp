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

// The view registered for a type on `pasteboard` that is a destination,
// under a global point (the window server's, y down) in one of our windows.
std::shared_ptr<View> draggingDestinationAt(const Pasteboard& pasteboard, Point location);
// What a destination learns of a drag of `pasteboard` at a global point: the
// point in AppKit's coordinates (y up) and in the window under it.
DraggingInfo draggingInfoAt(const Pasteboard& pasteboard, Point location);

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

// The one drag under way: from where it begins it follows the pointer over
// the windows of the desktop and tells the registered destination under it
// as it enters (with an update at once, as the system's periodic updates
// give one), moves, leaves and drops, then the last destination entered and
// the source that it ended. The items go onto the drag pasteboard. Points are global
// (the window server's, y down). Main thread; started by
// View::beginDraggingSession.
class DraggingSession {
public:
    // The drag under way, or null.
    static DraggingSession* current();

    // The system's drag pasteboard, holding the dragged items.
    const Pasteboard& draggingPasteboard() const;
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

    DraggingInfo infoAt(Point location) const;
    void leave(const DraggingInfo& info);
    void end(DragOperations operation);

    std::vector<DraggingItem> items_;
    std::shared_ptr<DraggingSource> source_;
    Point location_;
    std::weak_ptr<View> destination_;
    // The last destination entered, told when the drag ends even if left.
    std::weak_ptr<View> lastEntered_;
    DragOperations accepted_;
};

}  // namespace zelvana::platform
