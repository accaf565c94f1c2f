#pragma once

#include <vector>

#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

// A path of straight and cubic segments, in the coordinates of whoever draws
// it (y down in views). A value type; a graphics context fills or strokes it.
class BezierPath {
public:
    enum class ElementType { moveTo, lineTo, curveTo, closePath };
    // For curveTo: points[0] and points[1] are the control points and
    // points[2] the end point; the other kinds use points[0] only.
    struct Element {
        ElementType type;
        Point points[3];
    };

    static BezierPath rect(Rect rect);
    // Corner radii are clamped to half the rectangle's sides.
    static BezierPath roundedRect(Rect rect, double xRadius, double yRadius);
    static BezierPath oval(Rect rect);

    void moveTo(Point point);
    void lineTo(Point point);
    void curveTo(Point end, Point control1, Point control2);
    void closePath();
    void appendRect(Rect rect);

    const std::vector<Element>& elements() const { return elements_; }
    bool isEmpty() const { return elements_.empty(); }
    // The smallest rectangle holding every point, control points included.
    Rect bounds() const;

private:
    std::vector<Element> elements_;
};

}  // namespace zelvana::platform
