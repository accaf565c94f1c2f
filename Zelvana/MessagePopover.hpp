#pragma once

#include <memory>
#include <string>

#include "Zelvana/MessageViewController.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::core {

// A transient popover showing one message next to a control; the settings
// window's info buttons use it. Made once and shown again with new text.
// Main thread only.
class MessagePopover {
public:
    // Loads its content from the storyboard; when that fails the error is
    // logged and the popover never shows.
    MessagePopover();
    // A shown popover closes with its owner.
    ~MessagePopover();
    MessagePopover(const MessagePopover&) = delete;
    MessagePopover& operator=(const MessagePopover&) = delete;

    // Shows the text beside the view's bounds at the preferred edge.
    void show(const std::string& text, platform::View& view, platform::RectEdge preferredEdge);

    // None when the storyboard could not give one.
    const std::shared_ptr<MessageViewController>& messageView() const { return messageView_; }
    const std::shared_ptr<platform::Popover>& popover() const { return popover_; }

private:
    std::shared_ptr<MessageViewController> messageView_;
    std::shared_ptr<platform::Popover> popover_ = std::make_shared<platform::Popover>();
};

}  // namespace zelvana::core
