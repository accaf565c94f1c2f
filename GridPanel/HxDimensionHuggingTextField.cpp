#include "GridPanel/HxDimensionHuggingTextField.hpp"

#include <limits>

#include "GridPanel/FollowTextChange.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

namespace {

constexpr double kUnlimited = std::numeric_limits<float>::max();

}  // namespace

HxDimensionHuggingTextField::HxDimensionHuggingTextField(platform::Rect frame, Dimension dimension)
    : huggedDimension_(dimension) {
    platform::assertMainThread();
    setFrame(frame);
}

platform::Size HxDimensionHuggingTextField::intrinsicContentSize() const {
    const auto origin = frame().origin;
    if (huggedDimension_ == Dimension::vertical) {
        const auto text = cellSizeForBounds(platform::Rect{origin, {frame().width(), kUnlimited}});
        return {noIntrinsicMetric, text.height};
    }
    const auto text = cellSizeForBounds(platform::Rect{origin, {kUnlimited, frame().height()}});
    return {text.width, noIntrinsicMetric};
}

void HxDimensionHuggingTextField::textDidChange() {
    TextField::textDidChange();
    followTextChange(*this);
}

}  // namespace zelvana::gridpanel
