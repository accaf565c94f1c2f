#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/appkit/Dragging.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/appkit/Pasteboard.hpp"

namespace zelvana::platform {

class View;

// The simulated user drags things (files from the Finder, text) from another
// application anywhere on the desktop with some modifier keys held. The items
// go onto the drag pasteboard; every move is a left-mouse-dragged event and
// the release a left-mouse-up event with the modifiers, which, the drag
// being another application's, global monitors see. Over one of our windows
// the registered destination view under the pointer is told as the drag
// enters, moves, leaves and drops. Locations are the window server's (y
// down). Main thread only.
class FileDrag {
public:
    // A pasteboard item with the file URL ("file://" + path) of a file.
    static PasteboardItem fileItem(const std::filesystem::path& path);
    static PasteboardItem textItem(const std::string& text);

    // Puts the items on the drag pasteboard (a new change count) where the
    // pointer is; nothing is sent until the pointer moves.
    FileDrag(std::vector<PasteboardItem> items, ModifierFlags modifiers);
    FileDrag(const FileDrag&) = delete;
    FileDrag& operator=(const FileDrag&) = delete;

    void moveTo(Point location);
    // The user presses or lets go of modifier keys: a flags-changed event, to
    // our application when it is active, else to global monitors.
    void setModifiers(ModifierFlags modifiers);
    // Lets go of the button: the destination under the pointer, if any, takes
    // the drop; returns whether it did. Then the left-mouse-up event.
    bool drop();

private:
    std::shared_ptr<View> destinationAt(Point location) const;
    Event event(EventType type) const;
    void leaveDestination();

    ModifierFlags modifiers_;
    Point location_;
    std::weak_ptr<View> destination_;
};

}  // namespace zelvana::platform
