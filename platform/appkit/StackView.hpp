#pragma once

#include <memory>
#include <vector>

#include "platform/appkit/View.hpp"

namespace zelvana::platform {

// Lines up its arranged subviews in a row or a column. The fitting size is the
// sum of the visible arranged views' fitting sizes along the orientation plus
// the spacing between them, the largest across it, and the edge insets
// around. Layout gives each view its fitting size (equal shares when filling
// equally), packs them from the gravity's end (centred for the centre
// gravity, spread for the equal-spacing distributions) and places them across
// by the alignment. In a window, it lays its views out again once the main
// queue comes round after an arranged view asked for a new size, unless
// something laid it out meanwhile. Main thread only.
class StackView : public View {
public:
    enum class Orientation { horizontal = 0, vertical = 1 };
    enum class Distribution {
        fill = 0,
        fillEqually = 1,
        fillProportionally = 2,
        equalSpacing = 3,
        equalCentering = 4
    };

    // Across the orientation, with the system's layout-attribute values;
    // width and height stretch the views across.
    enum class Alignment {
        leading = 5,
        trailing = 6,
        top = 3,
        bottom = 4,
        width = 7,
        height = 8,
        centerX = 9,
        centerY = 10,
        firstBaseline = 12
    };
    enum class Gravity { leading = 1, center = 2, trailing = 3 };

    using View::View;

    Orientation orientation() const { return orientation_; }
    void setOrientation(Orientation orientation) { arrange(orientation_, orientation); }
    Distribution distribution() const { return distribution_; }
    void setDistribution(Distribution distribution) { arrange(distribution_, distribution); }
    double spacing() const { return spacing_; }
    void setSpacing(double spacing) { arrange(spacing_, spacing); }
    const EdgeInsets& edgeInsets() const { return edgeInsets_; }
    void setEdgeInsets(EdgeInsets insets) { arrange(edgeInsets_, insets); }
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment alignment) { arrange(alignment_, alignment); }
    // How strongly the stack keeps to its fitting size (recorded only).
    float huggingPriority(Orientation orientation) const;
    void setHuggingPriority(float priority, Orientation orientation);

    // Arranged views are also subviews; removing one keeps it as a subview.
    // In a window, the stack lays its views out again at once; out of one,
    // when it joins one.
    void addArrangedSubview(std::shared_ptr<View> view);
    void insertArrangedSubview(std::shared_ptr<View> view, std::size_t index);
    // An arranged view in a gravity area; the stack's views share one gravity.
    void addView(std::shared_ptr<View> view, Gravity gravity);
    void removeArrangedSubview(View* view);
    const std::vector<std::shared_ptr<View>>& arrangedSubviews() const { return arranged_; }

    // Hidden arranged views take no room.
    Size fittingSize() const override;
    void layout() override;
    // Joining a window lays the views out.
    void viewDidMoveToWindow() override;

protected:
    void subviewIntrinsicSizeInvalidated(View& subview) override;

private:
    void layoutIfShown();
    // Sets a property; a change lays the views out again.
    template <typename T>
    void arrange(T& property, const T& value) {
        if (property == value) return;
        property = value;
        invalidateIntrinsicContentSize();
    }

    Orientation orientation_ = Orientation::horizontal;
    Distribution distribution_ = Distribution::fill;
    double spacing_ = 8;
    EdgeInsets edgeInsets_;
    Alignment alignment_ = Alignment::centerY;
    Gravity gravity_ = Gravity::leading;
    float horizontalHugging_ = 250;
    float verticalHugging_ = 250;
    std::vector<std::shared_ptr<View>> arranged_;
    bool relayoutPending_ = false;
};

}  // namespace zelvana::platform
