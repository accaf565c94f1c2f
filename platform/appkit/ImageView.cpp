#include "platform/appkit/ImageView.hpp"

#include <algorithm>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

std::shared_ptr<ImageView> ImageView::imageViewWithImage(Image image) {
    platform::assertMainThread();
    const Size size = image.size();
    auto view = std::make_shared<ImageView>(std::move(image));
    view->setFrameSize(size);
    return view;
}

Size ImageView::intrinsicContentSize() const {
    return image_ ? image_->size() : Size{noIntrinsicMetric, noIntrinsicMetric};
}

Rect ImageView::imageRect() const {
    const Rect bounds = this->bounds();
    if (!image_ || !(image_->size().width > 0) || !(image_->size().height > 0)) return {};
    const Size size = image_->size();
    const double scale =
        std::min({1.0, bounds.width() / size.width, bounds.height() / size.height});
    const Size shown{size.width * std::max(scale, 0.0), size.height * std::max(scale, 0.0)};
    return Rect{{bounds.minX() + (bounds.width() - shown.width) / 2,
                 bounds.minY() + (bounds.height() - shown.height) / 2},
                shown};
}

void ImageView::drawRect(GraphicsContext& context, Rect /*dirtyRect*/) {
    platform::assertMainThread();
    if (!image_) return;
    context.drawImage(*image_, imageRect(), Rect{{}, image_->size()},
                      CompositingOperation::sourceOver, enabled_ ? 1.0 : 0.5);
}

}  // namespace zelvana::platform
