#pragma once

#include <memory>
#include <string>

#include "platform/appkit/Label.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/StackView.hpp"

namespace zelvana::tools {

// A popover that shows a wrapped message. Main thread only.
class MessagePopover {
public:
    MessagePopover();
    // The popover closes with it.
    ~MessagePopover();
    MessagePopover(const MessagePopover&) = delete;
    MessagePopover& operator=(const MessagePopover&) = delete;

    void show(const std::string& message, platform::View& relativeTo,
              platform::RectEdge preferredEdge);

    const std::shared_ptr<platform::Label>& textField() const { return textField_; }
    const std::shared_ptr<platform::StackView>& stackView() const { return stackView_; }
    const std::shared_ptr<platform::Popover>& popover() const { return popover_; }

private:
    std::shared_ptr<platform::Label> textField_;
    std::shared_ptr<platform::StackView> stackView_;
    std::shared_ptr<platform::Popover> popover_;
};

}  // namespace zelvana::tools
