#pragma once

#include <memory>

#include "platform/appkit/ImageView.hpp"
#include "platform/appkit/ViewController.hpp"

namespace zelvana::tools {

// The content of the screenshot window: an image view. Main thread only.
class ScreenshotViewController : public platform::ViewController {
public:
    // Weak, as outlets are.
    std::shared_ptr<platform::ImageView> imageView() const { return imageView_.lock(); }
    bool setOutlet(const std::string& name,
                   const std::shared_ptr<platform::StoryboardObject>& object) override;

private:
    std::weak_ptr<platform::ImageView> imageView_;
};

}  // namespace zelvana::tools
