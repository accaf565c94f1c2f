#include "platform/appkit/PopoverWindow.hpp"

#include <algorithm>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

// How far a corner's control points lie from its ends, as a share of the radius.
constexpr double kCornerControl = 0.4477;

bool isHorizontal(RectEdge edge) {
    return edge == RectEdge::minY || edge == RectEdge::maxY;
}

// The outline of the bubble `r` (y down) and of its arrow, which stands out
// of the side facing the rectangle's `edge` at `along` and points at it.
BezierPath bubble(Rect r, RectEdge edge, double along) {
    const double radius = PopoverWindow::cornerRadius;
    const double half = PopoverWindow::arrowHalfWidth;
    const double length = Popover::arrowLength;
    const double c = radius * kCornerControl;
    BezierPath path;
    path.moveTo({r.minX() + radius, r.minY()});
    if (edge == RectEdge::maxY) {  // below the rectangle: the arrow points up
        path.lineTo({along - half, r.minY()});
        path.lineTo({along, r.minY() - length});
        path.lineTo({along + half, r.minY()});
    }
    path.lineTo({r.maxX() - radius, r.minY()});
    path.curveTo({r.maxX(), r.minY() + radius}, {r.maxX() - c, r.minY()}, {r.maxX(), r.minY() + c});
    if (edge == RectEdge::minX) {  // left of the rectangle: the arrow points right
        path.lineTo({r.maxX(), along - half});
        path.lineTo({r.maxX() + length, along});
        path.lineTo({r.maxX(), along + half});
    }
    path.lineTo({r.maxX(), r.maxY() - radius});
    path.curveTo({r.maxX() - radius, r.maxY()}, {r.maxX(), r.maxY() - c}, {r.maxX() - c, r.maxY()});
    if (edge == RectEdge::minY) {  // above the rectangle: the arrow points down
        path.lineTo({along + half, r.maxY()});
        path.lineTo({along, r.maxY() + length});
        path.lineTo({along - half, r.maxY()});
    }
    path.lineTo({r.minX() + radius, r.maxY()});
    path.curveTo({r.minX(), r.maxY() - radius}, {r.minX() + c, r.maxY()}, {r.minX(), r.maxY() - c});
    if (edge == RectEdge::maxX) {  // right of the rectangle: the arrow points left
        path.lineTo({r.minX(), along + half});
        path.lineTo({r.minX() - length, along});
        path.lineTo({r.minX(), along - half});
    }
    path.lineTo({r.minX(), r.minY() + radius});
    path.curveTo({r.minX() + radius, r.minY()}, {r.minX(), r.minY() + c}, {r.minX() + c, r.minY()});
    path.closePath();
    return path;
}

}  // namespace

PopoverWindow::PopoverWindow(StyleMask style)
    : Panel(Rect{}, style, BackingStore::buffered, false) {
    setLevel(Level::popUpMenu);
    setOpaque(false);
    setBackgroundColor(Color::white(0.97, 1));
}

void PopoverWindow::pointAt(RectEdge edge, double along) {
    assertMainThread();
    edge_ = edge;
    const double length = isHorizontal(edge) ? frame().width() : frame().height();
    const double clear = cornerRadius + arrowHalfWidth;
    along_ = length < 2 * clear ? length / 2 : std::clamp(along, clear, length - clear);
    fitContentView();
}

EdgeInsets PopoverWindow::contentInsets() const {
    switch (edge_) {
        case RectEdge::maxX:
            return {0, Popover::arrowLength, 0, 0};
        case RectEdge::minX:
            return {0, 0, 0, Popover::arrowLength};
        case RectEdge::minY:
            return {0, 0, Popover::arrowLength, 0};
        case RectEdge::maxY:
            break;
    }
    return {Popover::arrowLength, 0, 0, 0};
}

void PopoverWindow::drawBackground(GraphicsContext& context, Rect bounds) const {
    assertMainThread();
    if (!backgroundColor()) return;
    const EdgeInsets insets = contentInsets();
    const Rect body =
        Rect::make(insets.left, insets.top, bounds.width() - insets.left - insets.right,
                   bounds.height() - insets.top - insets.bottom);
    const auto outline = bubble(body, edge_, along_);
    context.setFillColor(*backgroundColor());
    context.fill(outline);
    context.setStrokeColor(Color::white(0, 0.15));
    context.stroke(outline, 0.5);
}

}  // namespace zelvana::platform
