#pragma once

#include <memory>
#include <string>

#include "platform/appkit/Popover.hpp"
#include "platform/appkit/ViewController.hpp"

namespace zelvana::core {

// A popover whose content is a view controller from a storyboard of the
// main bundle, such as the welcome popover. Main thread only.
class InfoPopover {
public:
    // None, with a logged error, when the storyboard or the scene is missing
    // or the scene is not a view controller.
    static std::unique_ptr<InfoPopover> make(const std::string& storyboardName,
                                             const std::string& identifier,
                                             platform::Popover::Behavior behavior);

    // A shown popover closes with its owner.
    ~InfoPopover();
    InfoPopover(const InfoPopover&) = delete;
    InfoPopover& operator=(const InfoPopover&) = delete;

    const std::shared_ptr<platform::ViewController>& viewController() const {
        return viewController_;
    }
    const std::shared_ptr<platform::Popover>& popover() const { return popover_; }

private:
    InfoPopover(std::shared_ptr<platform::ViewController> controller,
                platform::Popover::Behavior behavior);

    std::shared_ptr<platform::ViewController> viewController_;
    std::shared_ptr<platform::Popover> popover_;
};

}  // namespace zelvana::core
