#include "Zelvana/InfoPopover.hpp"

#include "Zelvana/StoryboardScene.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

std::unique_ptr<InfoPopover> InfoPopover::make(const std::string& storyboardName,
                                               const std::string& identifier,
                                               platform::Popover::Behavior behavior) {
    platform::assertMainThread();
    auto controller =
        instantiateSceneAs<platform::ViewController>(storyboardName, identifier, "view controller");
    if (!controller) return nullptr;
    return std::unique_ptr<InfoPopover>(new InfoPopover(std::move(controller), behavior));
}

InfoPopover::InfoPopover(std::shared_ptr<platform::ViewController> controller,
                         platform::Popover::Behavior behavior)
    : viewController_(std::move(controller)), popover_(std::make_shared<platform::Popover>()) {
    popover_->setBehavior(behavior);
    popover_->setContentViewController(viewController_);
}

InfoPopover::~InfoPopover() {
    popover_->close();
}

}  // namespace zelvana::core
