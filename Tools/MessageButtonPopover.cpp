#include "Tools/MessageButtonPopover.hpp"

#include "Tools/PopoverContent.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

using platform::StackView;

MessageButtonPopover::MessageButtonPopover(std::string message, Callback callback)
    : textField_(PopoverContent::makeMessageLabel(std::move(message))),
      stackView_(PopoverContent::makeStack()),
      callback_(std::move(callback)),
      popover_(PopoverContent::makePopover(stackView_)) {
    stackView_->setOrientation(StackView::Orientation::vertical);
    stackView_->setAlignment(StackView::Alignment::centerX);
    stackView_->addArrangedSubview(textField_);
}

std::shared_ptr<MessageButtonPopover> MessageButtonPopover::make(std::string message,
                                                                 std::string buttonTitle,
                                                                 Callback callback) {
    platform::assertMainThread();
    std::shared_ptr<MessageButtonPopover> popover(
        new MessageButtonPopover(std::move(message), std::move(callback)));
    auto button = std::make_shared<platform::Button>(std::move(buttonTitle), "buttonPressed:");
    button->setCallback([weak = popover->weak_.ref()](platform::Button& sender) {
        if (MessageButtonPopover* self = weak.get()) self->buttonPressed(&sender);
    });
    button->setBezelStyle(platform::Button::BezelStyle::recessed);
    button->constrainHeight(platform::View::SizeRelation::equal, 30);
    popover->button_ = button;
    popover->stackView_->addArrangedSubview(std::move(button));
    return popover;
}

MessageButtonPopover::~MessageButtonPopover() {
    popover_->close();
}

void MessageButtonPopover::show(std::optional<std::string> message,
                                std::optional<std::string> buttonTitle, platform::View& relativeTo,
                                platform::RectEdge preferredEdge, Callback callback) {
    platform::assertMainThread();
    if (message) textField_->setStringValue(std::move(*message));
    if (buttonTitle) button_->setTitle(std::move(*buttonTitle));
    if (callback) callback_ = std::move(callback);
    PopoverContent::show(*popover_, relativeTo, preferredEdge);
}

void MessageButtonPopover::buttonPressed(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    // Kept while it runs: the action may drop the caller's reference.
    const auto self = shared_from_this();
    // A copy: the action may replace the stored one.
    if (auto callback = callback_) callback();
    popover_->close();
}

}  // namespace zelvana::tools
