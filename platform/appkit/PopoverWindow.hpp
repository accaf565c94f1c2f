#pragma once

#include <functional>

#include "platform/appkit/Panel.hpp"
#include "platform/appkit/Popover.hpp"

namespace zelvana::platform {

// The window a popover shows its content in: borderless (or a non-activating
// panel, when its anchor is one), above menus, and drawn as a bubble whose
// arrow points at the popover's rectangle; the content lies inside the
// bubble, clear of the arrow. Main thread only.
class PopoverWindow final : public Panel {
public:
    static constexpr double cornerRadius = 10;
    // Half the width of the arrow where it meets the bubble.
    static constexpr double arrowHalfWidth = 10;

    explicit PopoverWindow(StyleMask style);

    // The arrow leaves the bubble on the side that faces the rectangle's
    // `edge`, `along` points from the window's left (top) edge; it is kept
    // clear of the bubble's corners.
    void pointAt(RectEdge edge, double along);
    RectEdge edge() const { return edge_; }
    double arrowPosition() const { return along_; }

    void drawBackground(GraphicsContext& context, Rect bounds) const override;
    // Escape that nothing in the popover took goes to its popover.
    void setOnCancel(std::function<void()> onCancel) { onCancel_ = std::move(onCancel); }
    void cancelOperation() override {
        if (onCancel_) onCancel_();
    }

protected:
    EdgeInsets contentInsets() const override;

private:
    RectEdge edge_ = RectEdge::maxY;
    double along_ = 0;
    std::function<void()> onCancel_;
};

}  // namespace zelvana::platform
