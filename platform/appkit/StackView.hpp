#pragma once

#include <memory>
#include <vector>

#include "platform/appkit/View.hpp"

namespace zelvana::platform {

struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool operator==(const EdgeInsets&) const = default;
};

// Lines up its arranged subviews in a row or a column. Layout is not run;
// the fitting size is the sum of the visible arranged views' fitting sizes
// along the orientation plus the spacing between them, the largest across
// it, and the edge insets around.
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

    using View::View;

    Orientation orientation() const { return orientation_; }
    void setOrientation(Orientation orientation) { orientation_ = orientation; }
    Distribution distribution() const { return distribution_; }
    void setDistribution(Distribution distribution) { distribution_ = distribution; }
    double spacing() const { return spacing_; }
    void setSpacing(double spacing) { spacing_ = spacing; }
    const EdgeInsets& edgeInsets() const { return edgeInsets_; }
    void setEdgeInsets(EdgeInsets insets) { edgeInsets_ = insets; }

    // Arranged views are also subviews; removing one keeps it as a subview.
    void addArrangedSubview(std::shared_ptr<View> view);
    void removeArrangedSubview(View* view);
    const std::vector<std::shared_ptr<View>>& arrangedSubviews() const { return arranged_; }

    // Hidden arranged views take no room.
    Size fittingSize() const override;

private:
    Orientation orientation_ = Orientation::horizontal;
    Distribution distribution_ = Distribution::fill;
    double spacing_ = 8;
    EdgeInsets edgeInsets_;
    std::vector<std::shared_ptr<View>> arranged_;
};

}  // namespace zelvana::platform
