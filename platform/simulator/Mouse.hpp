#pragma once

#include <vector>

#include "platform/appkit/Event.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

// The simulated mouse and the pointer it drives. Locations are in the window
// server's global coordinates (origin at the top-left of the first display,
// y growing downward), as Quartz reports and warps them. Main thread only.
class Mouse {
public:
    static Mouse& shared();

    // Where the pointer is: the location of a new empty Quartz event.
    Point location() const { return location_; }
    // NSEvent.mouseLocation: the same place in AppKit's coordinates (origin
    // at the bottom-left of the first display, y up); as is without displays.
    Point appKitLocation() const;

    // The user moves the mouse: the pointer follows (while mouse and cursor
    // are associated), and a mouse-moved event goes to the event taps, then
    // to global monitors when another application is frontmost, else to our
    // application's queue. The key window under the pointer shows the shape
    // its cursor rectangles ask for.
    void moveTo(Point location);
    // The user presses a button (leftMouseDown, rightMouseDown, ...) where
    // the pointer is; routed as a move is, except that a button event over a
    // window of ours goes to that window at once, active or not, and the
    // drags and release of a left press there go to our application wherever
    // the pointer is. A press anywhere else, while no menu of ours is open,
    // makes the application there active instead of ours (WindowServer), so
    // our key window resigns key. While one of our menus is open, it takes
    // every move, button event and drag instead.
    void press(EventType button);
    // The user moves the mouse with the left button held: the pointer follows
    // and a left-mouse-dragged event is routed as a button event.
    void dragTo(Point location);

    // The user turns the scroll wheel (or scrolls on the trackpad) by the
    // deltas where the pointer is: the event taps see it, then the window of
    // ours under the pointer gets it at once, through our application's
    // dispatch (local monitors first), whether or not it is active; over
    // another application's window, or none, global monitors see it. An
    // open menu of ours takes it instead.
    void scrollWheel(double deltaX, double deltaY);

    // CGWarpMouseCursorPosition: puts the pointer there without an event.
    void warpCursorPosition(Point location);
    // Every warp so far, oldest first.
    const std::vector<Point>& warps() const { return warps_; }
    // CGAssociateMouseAndMouseCursorPosition: while dissociated, moving the
    // mouse leaves the pointer where it is.
    void associateMouseAndCursorPosition(bool connected) { associated_ = connected; }
    bool isAssociated() const { return associated_; }

    // The pointer follows a drag that another application runs (FileDrag).
    void followDrag(Point location) { location_ = location; }

    // The pointer at the origin, associated, no warps recorded.
    void resetForTesting();

private:
    Mouse() = default;
    void deliver(EventType type);
    void showCursorUnderPointer() const;
    // False when no window of ours is under the pointer.
    bool deliverToWindowUnderPointer(Event event) const;

    Point location_;
    std::vector<Point> warps_;
    bool associated_ = true;
    // The left button went down in one of our windows.
    bool captured_ = false;
};

}  // namespace zelvana::platform
