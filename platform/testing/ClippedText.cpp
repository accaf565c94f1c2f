#include "platform/testing/ClippedText.hpp"

#include <algorithm>

#include "platform/appkit/TextField.hpp"

namespace zelvana::platform::testing {

namespace {

// Half a point of slack for fractional frames.
constexpr double kSlack = 0.5;

Rect intersection(Rect a, Rect b) {
    const double minX = std::max(a.minX(), b.minX());
    const double minY = std::max(a.minY(), b.minY());
    return Rect::make(minX, minY, std::max(0.0, std::min(a.maxX(), b.maxX()) - minX),
                      std::max(0.0, std::min(a.maxY(), b.maxY()) - minY));
}

bool reachesPast(Rect inner, Rect outer) {
    return inner.minX() < outer.minX() - kSlack || inner.minY() < outer.minY() - kSlack ||
           inner.maxX() > outer.maxX() + kSlack || inner.maxY() > outer.maxY() + kSlack;
}

// `visible`: the part of the view's bounds its ancestors let through, in the
// view's own coordinates.
void collect(const View& view, Rect visible, std::vector<std::string>& clipped) {
    if (view.isHidden()) return;
    if (const auto* field = dynamic_cast<const TextField*>(&view)) {
        const std::string shown =
            field->stringValue().empty() ? field->placeholderString() : field->stringValue();
        const Rect lines = field->textFrame();
        if (!shown.empty() && !field->layoutInBounds().isTruncated() &&
            reachesPast(lines, visible)) {
            clipped.push_back("\"" + shown + "\" needs " + std::to_string(lines.width()) + " x " +
                              std::to_string(lines.height()) + " in " +
                              std::to_string(visible.width()) + " x " +
                              std::to_string(visible.height()));
        }
    }
    for (const auto& subview : view.subviews()) {
        const Rect frame = subview->frame();
        const Rect inSubview{{visible.minX() - frame.minX(), visible.minY() - frame.minY()},
                             visible.size};
        collect(*subview, intersection(inSubview, subview->bounds()), clipped);
    }
}

}  // namespace

std::vector<std::string> textsClippedWithoutEllipsis(const View& root) {
    std::vector<std::string> clipped;
    collect(root, root.bounds(), clipped);
    return clipped;
}

}  // namespace zelvana::platform::testing
