#pragma once

#include <vector>

namespace zelvana::platform {

class View;

// A layout relation between two views' edges. Nothing is solved: a
// constraint records its items and whether it is active.
struct LayoutConstraint {
    enum class Attribute { top, bottom, leading, trailing, width, height, centerX, centerY };

    View* firstItem = nullptr;  // non-owning
    Attribute firstAttribute = Attribute::top;
    View* secondItem = nullptr;  // non-owning; null for a constant
    Attribute secondAttribute = Attribute::top;
    double constant = 0;
    bool isActive = false;

    // first.attribute == second.attribute + constant, inactive.
    static LayoutConstraint equal(View& first, Attribute attribute, View& second,
                                  double constant = 0);
    static void activate(std::vector<LayoutConstraint>& constraints);
    static void deactivate(std::vector<LayoutConstraint>& constraints);
};

}  // namespace zelvana::platform
