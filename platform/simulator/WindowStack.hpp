#pragma once

#include <deque>
#include <list>
#include <memory_resource>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/appkit/Window.hpp"
#include "platform/desktop/Display.hpp"
#include "platform/simulator/DesktopWindow.hpp"
#include "platform/simulator/PointerIndex.hpp"

namespace zelvana::platform {

// Every window the window server knows: ours (platform::Window) and other
// applications', each on a space, stacked front to back. Windows are found by
// identity and by number in constant time, so that asking about one of
// thousands of windows costs no more than asking about one of ten. Main
// thread only.
class WindowStack {
public:
    struct OwnWindow {
        Window* window = nullptr;
        // None before the window was first shown.
        std::optional<SpaceID> space;
        // Ordered out since it was last shown: it comes back on the space shown then.
        bool orderedOut = false;
        // Its collection behaviour as last told: it shows on every space.
        bool joinsAllSpaces = false;
    };

    // --- Ours ---
    // In the order they were added; entries may be changed, not added or
    // removed. A list: removing one of thousands moves none of the others.
    // Its nodes come from a pool, side by side in the order added, so a pass
    // over thousands of windows in that order reads memory in sequence.
    using OwnList = std::pmr::list<OwnWindow>;
    const OwnList& own() const { return own_; }
    OwnList& own() { return own_; }
    OwnWindow* findOwn(const Window& window);
    const OwnWindow* findOwn(const Window& window) const;
    const OwnWindow* findOwn(WindowNumber number) const;
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
    // Every window, front to back. A deque: raising a window to the front of
    // thousands moves none of the others.
    using Order = std::deque<WindowNumber>;
    const Order& order() const { return order_; }
    // Puts the window in front of the windows of its layer and below.
    void raise(WindowNumber number, int layer);
    int layerOf(WindowNumber number) const;

private:
    // Positions in others_ from this one on moved down by one.
    void reindexOthers(std::size_t from);

    std::pmr::unsynchronized_pool_resource ownPool_;
    OwnList own_{&ownPool_};
    PointerIndex<Window, OwnList::iterator> ownByWindow_;
    std::unordered_map<WindowNumber, OwnList::iterator> ownByNumber_;
    std::vector<DesktopWindow> others_;
    std::unordered_map<WindowNumber, std::size_t> othersByNumber_;
    Order order_;
};

}  // namespace zelvana::platform
