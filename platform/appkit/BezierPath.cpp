#include "platform/appkit/BezierPath.hpp"

#include <algorithm>
#include <cmath>

namespace zelvana::platform {

namespace {

// The control-point distance that makes a cubic curve follow a quarter circle.
constexpr double kKappa = 0.5522847498;

double sane(double value) {
    return std::isfinite(value) ? value : 0;
}

}  // namespace

BezierPath BezierPath::rect(Rect rect) {
    BezierPath path;
    path.appendRect(rect);
    return path;
}

BezierPath BezierPath::roundedRect(Rect rect, double xRadius, double yRadius) {
    const double rx = std::clamp(sane(xRadius), 0.0, std::max(0.0, rect.width() / 2));
    const double ry = std::clamp(sane(yRadius), 0.0, std::max(0.0, rect.height() / 2));
    if (rx == 0 || ry == 0) return BezierPath::rect(rect);
    const double l = rect.minX(), r = rect.maxX(), t = rect.minY(), b = rect.maxY();
    const double kx = rx * kKappa, ky = ry * kKappa;
    BezierPath path;
    path.moveTo({l + rx, t});
    path.lineTo({r - rx, t});
    path.curveTo({r, t + ry}, {r - rx + kx, t}, {r, t + ry - ky});
    path.lineTo({r, b - ry});
    path.curveTo({r - rx, b}, {r, b - ry + ky}, {r - rx + kx, b});
    path.lineTo({l + rx, b});
    path.curveTo({l, b - ry}, {l + rx - kx, b}, {l, b - ry + ky});
    path.lineTo({l, t + ry});
    path.curveTo({l + rx, t}, {l, t + ry - ky}, {l + rx - kx, t});
    path.closePath();
    return path;
}

BezierPath BezierPath::oval(Rect rect) {
    return roundedRect(rect, rect.width() / 2, rect.height() / 2);
}

void BezierPath::moveTo(Point point) {
    elements_.push_back({ElementType::moveTo, {point, {}, {}}});
}

void BezierPath::lineTo(Point point) {
    elements_.push_back({ElementType::lineTo, {point, {}, {}}});
}

void BezierPath::curveTo(Point end, Point control1, Point control2) {
    elements_.push_back({ElementType::curveTo, {control1, control2, end}});
}

void BezierPath::closePath() {
    elements_.push_back({ElementType::closePath, {}});
}

void BezierPath::appendRect(Rect rect) {
    moveTo(rect.origin);
    lineTo({rect.maxX(), rect.minY()});
    lineTo({rect.maxX(), rect.maxY()});
    lineTo({rect.minX(), rect.maxY()});
    closePath();
}

Rect BezierPath::bounds() const {
    bool any = false;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (const auto& element : elements_) {
        const int count = element.type == ElementType::curveTo     ? 3
                          : element.type == ElementType::closePath ? 0
                                                                   : 1;
        for (int i = 0; i < count; ++i) {
            const Point p = element.points[i];
            minX = any ? std::min(minX, p.x) : p.x;
            minY = any ? std::min(minY, p.y) : p.y;
            maxX = any ? std::max(maxX, p.x) : p.x;
            maxY = any ? std::max(maxY, p.y) : p.y;
            any = true;
        }
    }
    return Rect{{minX, minY}, {maxX - minX, maxY - minY}};
}

}  // namespace zelvana::platform
