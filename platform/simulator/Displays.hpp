#pragma once

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/desktop/Display.hpp"

namespace zelvana::platform {

// The attached displays and their spaces: the space each one shows, the one
// the user last worked on, and the numbers of new spaces. A plain model that
// neither notifies nor takes time. Main thread only.
class Displays {
public:
    const std::vector<Display>& all() const { return displays_; }
    bool isEmpty() const { return displays_.empty(); }
    const Display* find(DisplayID number) const;

    // Attaches a display at the end. Without spaces it gets a new one;
    // without a valid shown space it shows its first. False when the number
    // or one of its spaces is attached already, or when its frame overlaps
    // an attached display's (touching is fine: displays lie side by side).
    bool add(Display display);
    // Whether the number and the spaces are free; the frame is not looked at.
    bool canAdd(const Display& display) const;
    // The attached display whose frame shares area with `frame`, if any.
    const Display* overlapping(Rect frame) const;
    // Detaches a display; its spaces go to the end of the first remaining
    // display's list, which keeps showing its own space.
    std::optional<Display> remove(DisplayID number);
    // No displays, and space numbers start again.
    void clear();
    // New spaces get numbers above `space`, which came from elsewhere (a file).
    void reserveSpaceID(SpaceID space) { lastSpaceID_ = std::max(lastSpaceID_, space); }

    std::optional<SpaceID> addSpace(DisplayID number);
    // Removes a space that is not the only one of its display. When it was
    // shown, the display shows the next one (the last when it was last).
    bool removeSpace(SpaceID space);
    std::optional<DisplayID> displayOfSpace(SpaceID space) const;
    std::optional<SpaceID> shownSpace(DisplayID number) const;
    bool isSpaceShown(SpaceID space) const;
    // The display shows the space and becomes the one the user works on.
    void show(DisplayID number, SpaceID space);

    // The display the user works on, while it is attached.
    std::optional<DisplayID> focused() const;
    bool focus(DisplayID number);
    // The display that holds most of `frame` (AppKit coordinates).
    const Display* displayAt(Rect frame) const;

    // Between the window server's top-left coordinates and AppKit's; the flip
    // is its own inverse.
    Rect flipped(Rect rect) const;

private:
    // Changed only here, so the index stays in step with the lists.
    Display* findMutable(DisplayID number);
    SpaceID newSpaceID() { return ++lastSpaceID_; }

    std::vector<Display> displays_;
    // Which display holds each space, kept in step with every display's list:
    // windows, displays and restored panels each ask about their space, and
    // tens of thousands of spaces made a scan of the lists quadratic.
    std::unordered_map<SpaceID, DisplayID> displayOfSpace_;
    std::optional<DisplayID> focused_;
    SpaceID lastSpaceID_ = 0;
};

}  // namespace zelvana::platform
