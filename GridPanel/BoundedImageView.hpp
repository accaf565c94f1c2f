#pragma once

#include <utility>

#include "platform/appkit/ImageView.hpp"

namespace zelvana::gridpanel {

// An image view that asks for no more than the room it is given, so a cell's
// picture never pushes the cell wider. Main thread only.
class BoundedImageView final : public platform::ImageView {
public:
    BoundedImageView(platform::Image image, platform::Size room)
        : ImageView(std::move(image)), room_(room) {}
    platform::Size intrinsicContentSize() const override;

private:
    platform::Size room_;
};

}  // namespace zelvana::gridpanel
