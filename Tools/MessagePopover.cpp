#include "Tools/MessagePopover.hpp"

#include "Tools/PopoverContent.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

MessagePopover::MessagePopover()
    : textField_(PopoverContent::makeMessageLabel("")),
      stackView_(PopoverContent::makeStack()),
      popover_(PopoverContent::makePopover(stackView_)) {
    stackView_->addArrangedSubview(textField_);
}

MessagePopover::~MessagePopover() {
    popover_->close();
}

void MessagePopover::show(const std::string& message, platform::View& relativeTo,
                          platform::RectEdge preferredEdge) {
    platform::assertMainThread();
    textField_->setStringValue(message);
    PopoverContent::show(*popover_, relativeTo, preferredEdge);
}

}  // namespace zelvana::tools
