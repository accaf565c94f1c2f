#include "Tools/ScreenshotViewController.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

bool ScreenshotViewController::setOutlet(
    const std::string& name, const std::shared_ptr<platform::StoryboardObject>& object) {
    platform::assertMainThread();
    auto imageView = std::dynamic_pointer_cast<platform::ImageView>(object);
    if (name != "imageView" || !imageView) return false;
    imageView_ = imageView;
    return true;
}

}  // namespace zelvana::tools
