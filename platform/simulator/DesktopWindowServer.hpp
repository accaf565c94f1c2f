#pragma once

#include "platform/appkit/WindowServer.hpp"

namespace zelvana::platform {

class Desktop;
struct DesktopWindow;

// The window server of the simulated desktop, as our windows and screens
// reach it: screens, where each window lives, the space rule and window
// restoration. Main thread only.
//
// - A window ordered front for the first time goes onto the space its
//   display (the one holding most of its frame) shows.
// - makeKeyAndOrderFront on a window of the active application whose space
//   is not shown switches that space's display to it (over the desktop's
//   switch duration), unless the window is stationary (collection behaviour
//   16) or joins all spaces. A window that moves to the active space (2) is
//   moved to the shown space instead.
// - A window moved onto another display joins the space shown there.
class DesktopWindowServer final : public WindowServer {
public:
    explicit DesktopWindowServer(Desktop& desktop) : desktop_(desktop) {}
    DesktopWindowServer(const DesktopWindowServer&) = delete;
    DesktopWindowServer& operator=(const DesktopWindowServer&) = delete;

    // Becomes the process's window server (again); uninstall puts back the
    // one before.
    void install();
    void uninstall();

    std::vector<Screen> screens() const override;
    std::optional<Screen> mainScreen() const override;
    std::optional<Screen> screenForFrame(Rect frame) const override;
    void windowCreated(Window& window) override;
    void windowDestroyed(Window& window) override;
    void windowOrderedFront(Window& window, Ordering ordering) override;
    void windowOrderedOut(Window& window) override;
    void windowClosed(Window& window) override;
    void windowChanged(Window& window) override;
    bool isOnActiveSpace(const Window& window) const override;
    // The front window on screen whose bounds hold the location; windows that
    // ignore mouse events let it through.
    std::optional<WindowHit> windowAt(Point location) const override;
    void pressedOutsideOurWindows(Point location) override;
    // Hands each saved window to its class's restorer, puts it back on its
    // space (or the space shown where it is, when that space is gone) and
    // shows it if it was visible; then forgets the saved state.
    void applicationWillFinishLaunching() override;
    // Saves the restorable windows when they are kept, then the desktop
    // (when it has displays).
    void applicationWillTerminate(WindowsAtQuit windows) override;

private:
    void saveDesktop() const;
    // Another application's window, on screen and under the location.
    bool isShownAt(const DesktopWindow& other, Point location) const;

    Desktop& desktop_;
    WindowServer* previous_ = nullptr;
    bool installed_ = false;
};

}  // namespace zelvana::platform
