#pragma once

namespace zelvana::platform {

// What a window tells its delegate. Main thread.
class WindowDelegate {
public:
    virtual ~WindowDelegate() = default;
    // The window is about to close; it is still visible.
    virtual void windowWillClose() {}
    virtual void windowDidBecomeKey() {}
    virtual void windowDidResignKey() {}
    // Around a change of the frame's origin.
    virtual void windowWillMove() {}
    virtual void windowDidMove() {}
};

}  // namespace zelvana::platform
