#pragma once

#include "platform/appkit/StackView.hpp"

namespace zelvana::gridpanel {

// The horizontal stack that centres the grid in the panel. A grid larger than
// the stack itself is cut at its edges: it is shifted, no further than its own
// edges allow, so that a chosen rectangle of it shows. Main thread only.
class GridClipView final : public platform::StackView {
public:
    GridClipView();

    // Shifts the grid as little as it takes for `rect` (in the grid's
    // coordinates) to lie in the room, as far as it fits there.
    void reveal(platform::Rect rect);

    void layout() override;

private:
    platform::View* grid() const;
    platform::Size room() const;
    void placeGrid();

    // How far the grid is moved up and left, while it is larger than the room.
    platform::Point scroll_;
};

}  // namespace zelvana::gridpanel
