#pragma once

#include <memory>

#include "Tools/ScreenshotViewController.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/WindowController.hpp"

namespace zelvana::tools {

// A window that shows a captured image at its natural pixel size, one pixel a
// point, from the "Screenshot" storyboard of the package's resource bundle.
// The caller shows it. Main thread only.
class ScreenshotWindowController : public platform::WindowController {
public:
    using WindowController::WindowController;

    // None when the storyboard's controller is of another class.
    static std::shared_ptr<ScreenshotWindowController> make(const platform::Image& image);
    // The content controller when it is a ScreenshotViewController.
    ScreenshotViewController* screenshotViewController() const;

    static void registerStoryboardClasses();
};

}  // namespace zelvana::tools
