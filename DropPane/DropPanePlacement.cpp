#include "DropPane/DropPanePlacement.hpp"

namespace zelvana::droppane {

using platform::Point;
using platform::Rect;
using platform::Size;
using Location = DropPaneLocation;

namespace {

// The gap between the pointer and the pane.
constexpr double kPointerGap = 6;

std::optional<Point> besideScreenEdge(Location location, Rect s, Size w) {
    const double left = s.minX();
    const double right = s.maxX() - w.width;
    const double centreX = s.minX() + s.width() / 2 - w.width / 2;
    const double top = s.maxY() - w.height;
    const double middle = s.minY() + s.height() / 2 - w.height / 2;
    const double bottom = s.minY();
    switch (location) {
        case Location::topLeft:
            return Point{left, top};
        case Location::centerLeft:
            return Point{left, middle};
        case Location::bottomLeft:
            return Point{left, bottom};
        case Location::topRight:
            return Point{right, top};
        case Location::centerRight:
            return Point{right, middle};
        case Location::bottomRight:
            return Point{right, bottom};
        case Location::topCenter:
            return Point{centreX, top};
        case Location::bottomCenter:
            return Point{centreX, bottom};
        default:
            return std::nullopt;
    }
}

std::optional<Point> besidePointer(Location location, Size w, Point p, double height) {
    const double y = height - p.y;
    switch (location) {
        case Location::cursor:
            return Point{p.x - w.width / 2, y - w.height - kPointerGap};
        case Location::aboveCursor:
            return Point{p.x - w.width / 2, y + kPointerGap};
        case Location::leftOfCursor:
            return Point{p.x - w.width - kPointerGap, y - w.height / 2};
        case Location::rightOfCursor:
            return Point{p.x + kPointerGap, y - w.height / 2};
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<Point> paneOrigin(Location location, Rect screen, Size pane,
                                std::optional<Point> pointer, double firstScreenHeight) {
    if (auto origin = besideScreenEdge(location, screen, pane)) return origin;
    if (!pointer) return std::nullopt;
    return besidePointer(location, pane, *pointer, firstScreenHeight);
}

Point clampToScreen(Rect rect, Rect screen) {
    double y = rect.maxY() > screen.maxY() ? screen.maxY() - rect.height() : rect.minY();
    if (rect.minY() < screen.minY()) y = screen.minY();
    double x = rect.minX() < screen.minX() ? screen.minX() : rect.minX();
    if (rect.maxX() > screen.maxX()) x = screen.maxX() - rect.width();
    return Point{x, y};
}

}  // namespace zelvana::droppane
