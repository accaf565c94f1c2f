#pragma once

#include <cstdint>

#include "platform/appkit/Pasteboard.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/core/Flags.hpp"

namespace zelvana::platform {

// What a drag may do with its data, by the raw values the system uses.
enum class DragOperation : std::uint64_t {
    none = 0,
    copy = 1,
    link = 2,
    generic = 4,
    privateOperation = 8,
    move = 16,
    deleteOperation = 32,
};
ZELVANA_FLAGS(DragOperation)
using DragOperations = Flags<DragOperation>;

// One moment of a drag as its destination sees it.
struct DraggingInfo {
    explicit DraggingInfo(const Pasteboard& pasteboard, Point location = {})
        : pasteboard(&pasteboard), location(location) {}

    const Pasteboard* pasteboard;
    // What the source allows.
    DragOperations sourceOperationMask =
        DragOperation::copy | DragOperation::link | DragOperation::generic | DragOperation::move;
    // In global AppKit coordinates.
    Point location;
    // Where the pointer is in the destination window's coordinates (y down).
    Point draggingLocation;

    const Pasteboard& draggingPasteboard() const { return *pasteboard; }
};

// The view side of a drag: what is answered while a drag passes over a view
// registered for its types. Main thread.
class DraggingDestination {
public:
    virtual ~DraggingDestination() = default;
    virtual DragOperations draggingEntered(const DraggingInfo& /*info*/) {
        return DragOperation::none;
    }
    virtual DragOperations draggingUpdated(const DraggingInfo& /*info*/) {
        return DragOperation::none;
    }
    virtual void draggingExited(const DraggingInfo* /*info*/) {}
    virtual bool prepareForDragOperation(const DraggingInfo& /*info*/) { return false; }
    virtual bool performDragOperation(const DraggingInfo& /*info*/) { return false; }
    virtual void concludeDragOperation(const DraggingInfo& /*info*/) {}
    // The drag that last entered this destination is over, however it ended.
    virtual void draggingEnded(const DraggingInfo& /*info*/) {}
};

}  // namespace zelvana::platform
