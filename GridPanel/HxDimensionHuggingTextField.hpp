#pragma once

#include "platform/appkit/TextField.hpp"

namespace zelvana::gridpanel {

// A text field whose intrinsic size follows its text along one dimension
// and asks nothing along the other: a vertical one grows in height at its
// width, a horizontal one in width at its height. Main thread only.
class HxDimensionHuggingTextField : public platform::TextField {
public:
    enum class Dimension { vertical = 0, horizontal = 1 };

    explicit HxDimensionHuggingTextField(platform::Rect frame,
                                         Dimension dimension = Dimension::vertical);

    Dimension huggedDimension() const { return huggedDimension_; }
    platform::Size intrinsicContentSize() const override;

protected:
    // Its size follows the text as it is typed.
    void textDidChange() override;

private:
    Dimension huggedDimension_;
};

class HxHeightHuggingTextField : public HxDimensionHuggingTextField {
public:
    explicit HxHeightHuggingTextField(platform::Rect frame)
        : HxDimensionHuggingTextField(frame, Dimension::vertical) {}
    HxHeightHuggingTextField(platform::Rect frame, Dimension dimension)
        : HxDimensionHuggingTextField(frame, dimension) {}
};

class HxWidthHuggingTextField : public HxDimensionHuggingTextField {
public:
    explicit HxWidthHuggingTextField(platform::Rect frame)
        : HxDimensionHuggingTextField(frame, Dimension::horizontal) {}
    HxWidthHuggingTextField(platform::Rect frame, Dimension dimension)
        : HxDimensionHuggingTextField(frame, dimension) {}
};

}  // namespace zelvana::gridpanel
