#include "GridPanel/GridClipView.hpp"

#include <algorithm>

#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

using platform::Rect;
using platform::Size;

namespace {

// The grid's origin along one axis, scrolled within what its length leaves.
double scrolledStart(double room, double length, double scroll) {
    return std::clamp(scroll, std::min(0.0, room - length), 0.0);
}

// The scroll that brings [start, end) into a room of `room` points, moving
// as little as it can; the start wins when both cannot show.
double scrollShowing(double scroll, double start, double end, double room) {
    if (end + scroll > room) scroll = room - end;
    if (start + scroll < 0) scroll = -start;
    return scroll;
}

}  // namespace

GridClipView::GridClipView() {
    platform::assertMainThread();
    setOrientation(Orientation::horizontal);
    setAlignment(Alignment::centerY);
}

platform::View* GridClipView::grid() const {
    return arrangedSubviews().empty() ? nullptr : arrangedSubviews().front().get();
}

// The insets are the stack's margins around a grid that fits; a larger grid
// takes them too.
Size GridClipView::room() const {
    return bounds().size;
}

void GridClipView::reveal(Rect rect) {
    platform::assertMainThread();
    const Size space = room();
    scroll_ = {scrollShowing(scroll_.x, rect.minX(), rect.maxX(), space.width),
               scrollShowing(scroll_.y, rect.minY(), rect.maxY(), space.height)};
    placeGrid();
}

void GridClipView::layout() {
    platform::assertMainThread();
    StackView::layout();
    placeGrid();
}

// Only the grid's origin moves: its cells keep their places inside it.
void GridClipView::placeGrid() {
    View* shown = grid();
    if (!shown) return;
    const Size space = room();
    Rect frame = shown->frame();
    if (frame.width() > space.width)
        frame.origin.x = scrolledStart(space.width, frame.width(), scroll_.x);
    if (frame.height() > space.height)
        frame.origin.y = scrolledStart(space.height, frame.height(), scroll_.y);
    shown->setFrameOrigin(frame.origin);
}

}  // namespace zelvana::gridpanel
