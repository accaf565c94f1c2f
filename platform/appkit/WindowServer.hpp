#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/Screen.hpp"

namespace zelvana::platform {

class Window;

// What becomes of our windows when the application quits: kept for the next
// launch, or closed.
enum class WindowsAtQuit { keep, close };

// A window's number in the window server's lists.
using WindowNumber = std::uint32_t;

// The connection from windows and screens to the window server: displays,
// spaces and the stacking of every window. The desktop installs itself as
// the process's server; without one there are no screens and windows live on
// no space. Main thread only.
class WindowServer {
public:
    // A window ordered front alone, or also made key.
    enum class Ordering { frontOnly, frontAndKey };

    virtual ~WindowServer() = default;

    // The installed server, or null.
    static WindowServer* current();
    // Installs a server (null removes it); returns the previous one.
    static WindowServer* install(WindowServer* server);

    // Window numbers are unique within the process, whichever server hands
    // them out, and never reused.
    static WindowNumber newWindowNumber();
    // Keeps later numbers above `number`, which came from elsewhere (a file).
    static void reserveWindowNumber(WindowNumber number);

    // --- Displays ---
    // Every display, the primary (menu bar, origin (0, 0)) first.
    virtual std::vector<Screen> screens() const = 0;
    // The display of the key window, else the one the user last worked on.
    virtual std::optional<Screen> mainScreen() const = 0;
    // The display that holds most of `frame` (AppKit coordinates); none when
    // no display overlaps it.
    virtual std::optional<Screen> screenForFrame(Rect frame) const = 0;

    // --- Our windows ---
    virtual void windowCreated(Window& window) = 0;
    virtual void windowDestroyed(Window& window) = 0;
    // Puts the window in front of its level. A window ordered front for the
    // first time goes onto the space its display shows. Made key as well, the
    // space rule applies: see Desktop.
    virtual void windowOrderedFront(Window& window, Ordering ordering) = 0;
    virtual void windowOrderedOut(Window& window) = 0;
    // The window closed: it leaves the screen and is not restored.
    virtual void windowClosed(Window& window) = 0;
    // Its frame or collection behaviour changed.
    virtual void windowChanged(Window& window) = 0;
    virtual bool isOnActiveSpace(const Window& window) const = 0;
    // The window of ours that takes mouse events at a global location (window
    // server coordinates), with the location in its coordinates (y down from
    // its top-left corner): none when another application's window is in
    // front there, or no window is.
    struct WindowHit {
        Window* window = nullptr;
        Point locationInWindow;
    };
    virtual std::optional<WindowHit> windowAt(Point /*location*/) const { return std::nullopt; }
    // A button went down at a global location outside every window of ours:
    // the application whose window is there (another one where none is)
    // becomes active, so ours is no longer.
    virtual void pressedOutsideOurWindows(Point location);

    // --- Application life ---
    // Runs on the main queue before the application delegate hears that
    // launching finished: saved windows are handed to their restorers.
    virtual void applicationWillFinishLaunching() = 0;
    // Runs when the application terminates, after its delegate heard it:
    // restorable windows are saved when they are kept.
    virtual void applicationWillTerminate(WindowsAtQuit windows) = 0;
};

}  // namespace zelvana::platform
