#include "Tools/DialogPopover.hpp"

#include "Tools/PopoverContent.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

using platform::Button;
using platform::StackView;
using platform::View;

namespace {

std::shared_ptr<Button> dialogButton(std::string title, std::string action,
                                     Button::Callback callback) {
    auto button = std::make_shared<Button>(std::move(title), std::move(action));
    button->setCallback(std::move(callback));
    button->constrainWidth(View::SizeRelation::greaterThanOrEqual, 115);
    return button;
}

}  // namespace

DialogPopover::DialogPopover(std::optional<std::string> message,
                             std::optional<std::string> initialText, Callback callback)
    : textField_(message ? PopoverContent::makeMessageLabel(std::move(*message)) : nullptr),
      inputField_(std::make_shared<DialogInputField>(initialText.value_or(""))),
      stackView_(PopoverContent::makeStack()),
      callback_(std::move(callback)),
      popover_(PopoverContent::makePopover(stackView_)) {
    stackView_->setOrientation(StackView::Orientation::vertical);
    stackView_->setAlignment(StackView::Alignment::centerX);
    stackView_->setSpacing(10);
    if (textField_) stackView_->addArrangedSubview(textField_);
    inputField_->constrainWidth(View::SizeRelation::equal, 230);
    inputField_->setLineBreakMode(platform::LineBreakMode::byTruncatingHead);
    inputField_->setDialogDelegate(weak_.ref());
    stackView_->addArrangedSubview(inputField_);
    popover_->setDelegate(this);
}

DialogPopover::~DialogPopover() {
    // The popover lives as long as the dialog; it closes without a report.
    popover_->setDelegate(nullptr);
    popover_->close();
}

std::shared_ptr<DialogPopover> DialogPopover::make(std::optional<std::string> message,
                                                   std::optional<std::string> initialText,
                                                   std::string okTitle, std::string cancelTitle,
                                                   Callback callback) {
    platform::assertMainThread();
    std::shared_ptr<DialogPopover> dialog(
        new DialogPopover(std::move(message), std::move(initialText), std::move(callback)));
    dialog->addButtons(std::move(okTitle), std::move(cancelTitle));
    return dialog;
}

void DialogPopover::addButtons(std::string okTitle, std::string cancelTitle) {
    using Pressed = void (DialogPopover::*)(const platform::ActionSender*);
    const auto calling = [weak = weak_.ref()](Pressed pressed) {
        return [weak, pressed](Button& sender) {
            if (DialogPopover* dialog = weak.get()) (dialog->*pressed)(&sender);
        };
    };
    cancelButton_ = dialogButton(std::move(cancelTitle),
                                 "cancelPressed:", calling(&DialogPopover::cancelPressed));
    button_ =
        dialogButton(std::move(okTitle), "buttonPressed:", calling(&DialogPopover::buttonPressed));
    auto row = std::make_shared<StackView>();
    row->addArrangedSubview(cancelButton_);
    row->addArrangedSubview(button_);
    stackView_->addArrangedSubview(std::move(row));
}

void DialogPopover::show(std::optional<std::string> message, std::optional<std::string> okTitle,
                         std::optional<std::string> cancelTitle, View& relativeTo,
                         platform::RectEdge preferredEdge, Callback callback) {
    platform::assertMainThread();
    if (message && textField_) textField_->setStringValue(std::move(*message));
    if (okTitle) button_->setTitle(std::move(*okTitle));
    if (cancelTitle) cancelButton_->setTitle(std::move(*cancelTitle));
    if (callback) callback_ = std::move(callback);
    PopoverContent::show(*popover_, relativeTo, preferredEdge);
}

void DialogPopover::buttonPressed(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    // Kept while it runs: the callback may drop the caller's reference.
    const auto self = shared_from_this();
    report(inputField_->stringValue());
    popover_->close();
}

void DialogPopover::cancelPressed(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    const auto self = shared_from_this();
    report(std::nullopt);
    popover_->close();
}

void DialogPopover::popoverDidClose(platform::Popover& /*popover*/) {
    platform::assertMainThread();
    report(std::nullopt);
}

void DialogPopover::report(const std::optional<std::string>& text) const {
    // A copy: the callback may replace the stored one or drop the dialog.
    if (auto callback = callback_) callback(text);
}

}  // namespace zelvana::tools
