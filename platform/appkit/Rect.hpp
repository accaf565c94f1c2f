#pragma once

namespace zelvana::platform {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

// Room kept inside the edges of a rectangle, in points.
struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool operator==(const EdgeInsets&) const = default;
};

// A rectangle in points. Views are flipped: y grows downwards, so a view's
// bottom edge is maxY.
struct Rect {
    Point origin;
    Size size;

    static Rect make(double x, double y, double width, double height) {
        return Rect{{x, y}, {width, height}};
    }
    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    // The min edges belong to the rect and the max edges do not, as with
    // NSPointInRect, so that side-by-side rects never share a point.
    bool contains(Point point) const {
        return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
    }
    // Whether `inner` lies wholly inside, on the edges included.
    bool contains(const Rect& inner) const {
        return inner.minX() >= minX() && inner.maxX() <= maxX() && inner.minY() >= minY() &&
               inner.maxY() <= maxY();
    }
    // Smaller by `dx` on the left and right and `dy` at the top and bottom.
    Rect insetBy(double dx, double dy) const {
        return make(minX() + dx, minY() + dy, width() - 2 * dx, height() - 2 * dy);
    }
    double midX() const { return minX() + width() / 2; }
    double midY() const { return minY() + height() / 2; }
    // Moved by `dx` and `dy`, as NSOffsetRect moves it.
    Rect offsetBy(double dx, double dy) const {
        return make(minX() + dx, minY() + dy, width(), height());
    }
    bool operator==(const Rect&) const = default;
};

}  // namespace zelvana::platform
