#pragma once

#include <optional>
#include <vector>

#include "platform/appkit/Window.hpp"
#include "platform/desktop/Display.hpp"
#include "platform/simulator/DesktopWindow.hpp"

namespace zelvana::platform {

// Every window the window server knows: ours (platform::Window) and other
// applications', each on a space, stacked front to back. Main thread only.
class WindowStack {
public:
    struct OwnWindow {
        Window* window = nullptr;
        // None before the window was first shown.
        std::optional<SpaceID> space;
        // Ordered out since it was last shown: it comes back on the space shown then.
        bool orderedOut = false;
    };

    // --- Ours ---
    const std::vector<OwnWindow>& own() const { return own_; }
    std::vector<OwnWindow>& own() { return own_; }
    OwnWindow* findOwn(const Window& window);
    const OwnWindow* findOwn(const Window& window) const;
    // Behind every window until it is shown.
    OwnWindow& addOwn(Window& window);
    void removeOwn(const Window& window);
    // Gives every one of our windows on `space` to `to` (none: no space).
    void moveOwn(SpaceID space, std::optional<SpaceID> to);

    // --- Other applications' ---
    const std::vector<DesktopWindow>& others() const { return others_; }
    DesktopWindow* findOther(WindowNumber number);
    const DesktopWindow* findOther(WindowNumber number) const;
    // In front of its layer; a number of 0 or one in use gets a new one.
    WindowNumber addOther(DesktopWindow window);
    bool removeOther(WindowNumber number);
    void moveOthers(SpaceID space, SpaceID to);
    // Ours stay.
    void clearOthers();

    // --- Stacking ---
    // Every window, front to back.
    const std::vector<WindowNumber>& order() const { return order_; }
    // Puts the window in front of the windows of its layer and below.
    void raise(WindowNumber number, int layer);
    int layerOf(WindowNumber number) const;

private:
    std::vector<OwnWindow> own_;
    std::vector<DesktopWindow> others_;
    std::vector<WindowNumber> order_;
};

}  // namespace zelvana::platform
