#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Image.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::platform {

// Shows an image: scaled down to fit its bounds keeping the aspect ratio,
// never enlarged, centred. A disabled image view draws its image faded.
// Main thread only.
class ImageView : public View {
public:
    // Image views take dropped images.
    ImageView() { registerForDraggedTypes({"public.image"}); }
    explicit ImageView(std::optional<Image> image) : image_(std::move(image)) {
        registerForDraggedTypes({"public.image"});
    }
    // An image view of the image's size.
    static std::shared_ptr<ImageView> imageViewWithImage(Image image);

    const std::optional<Image>& image() const { return image_; }
    void setImage(std::optional<Image> image) { image_ = std::move(image); }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    // The image's size; nothing without an image.
    Size intrinsicContentSize() const override;
    // Where the image is drawn inside the bounds.
    Rect imageRect() const;
    void drawRect(GraphicsContext& context, Rect dirtyRect) override;

private:
    std::optional<Image> image_;
    bool enabled_ = true;
};

}  // namespace zelvana::platform
