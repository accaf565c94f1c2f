#include "Zelvana/MessagePopover.hpp"

#include "Logging/Logging.hpp"
#include "Zelvana/StoryboardScene.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

MessagePopover::MessagePopover() {
    popover_->setBehavior(platform::Popover::Behavior::transient);
    MessageViewController::registerStoryboardClass();
    // A missing scene is logged and leaves the popover empty; the settings
    // window stays usable.
    messageView_ = instantiateSceneAs<MessageViewController>(MessageViewController::storyboardName,
                                                             MessageViewController::identifier,
                                                             "MessageViewController");
    if (messageView_) popover_->setContentViewController(messageView_);
}

void MessagePopover::show(const std::string& text, platform::View& view,
                          platform::RectEdge preferredEdge) {
    platform::assertMainThread();
    if (!messageView_) {
        logging::Logging::error("The message popover has no content to show: " + text);
        return;
    }
    messageView_->setMessage(text);
    if (messageView_->isViewLoaded()) {
        if (platform::TextField* field = messageView_->messageField()) field->setStringValue(text);
    }
    popover_->show(platform::Rect{}, view, preferredEdge);
}

MessagePopover::~MessagePopover() {
    popover_->close();
}

}  // namespace zelvana::core
