#include "Tools/ScreenshotWindowController.hpp"

#include "Logging/Logging.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Storyboard.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

namespace {

// The same pixels, one point each, whatever scale the capture had.
platform::Image atOnePointAPixel(const platform::Image& image) {
    const int width = image.pixelsWide();
    const int height = image.pixelsHigh();
    platform::Image copy(platform::Size{static_cast<double>(width), static_cast<double>(height)},
                         width, height);
    copy.pixels() = image.pixels();
    return copy;
}

}  // namespace

void ScreenshotWindowController::registerStoryboardClasses() {
    platform::assertMainThread();
    using platform::Storyboard;
    Storyboard::registerClass("ScreenshotWindowController",
                              [] { return std::make_unique<ScreenshotWindowController>(); });
    Storyboard::registerClass("ScreenshotViewController",
                              [] { return std::make_unique<ScreenshotViewController>(); });
}

ScreenshotViewController* ScreenshotWindowController::screenshotViewController() const {
    return dynamic_cast<ScreenshotViewController*>(contentViewController());
}

std::shared_ptr<ScreenshotWindowController> ScreenshotWindowController::make(
    const platform::Image& image) {
    platform::assertMainThread();
    registerStoryboardClasses();
    std::string error;
    const auto storyboard = platform::Storyboard::load(
        "Screenshot", platform::Bundle::packageResourceBundle("Tools"), &error);
    auto controller = std::dynamic_pointer_cast<ScreenshotWindowController>(
        storyboard ? storyboard->instantiateController("ScreenshotWindowController", &error)
                   : nullptr);
    if (!controller) {
        logging::Logging::error("unable to make the screenshot window: " + error);
        return nullptr;
    }
    const platform::Size size{static_cast<double>(image.pixelsWide()),
                              static_cast<double>(image.pixelsHigh())};
    if (auto* content = controller->screenshotViewController()) {
        content->setPreferredContentSize(size);
        if (auto imageView = content->imageView()) imageView->setImage(atOnePointAPixel(image));
    }
    return controller;
}

}  // namespace zelvana::tools
