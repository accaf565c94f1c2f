#include "Zelvana/MessageCheckboxPopover.hpp"

#include "platform/appkit/ViewController.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

namespace {

using platform::StackView;

constexpr float kHuggingPriority = 750;

}  // namespace

std::shared_ptr<MessageCheckboxPopover> MessageCheckboxPopover::create() {
    platform::assertMainThread();
    std::shared_ptr<MessageCheckboxPopover> popover(new MessageCheckboxPopover());
    popover->checkbox_->setCallback([weak = popover->weak_.ref()](platform::Button& sender) {
        if (MessageCheckboxPopover* self = weak.get()) self->buttonPressed(&sender);
    });
    return popover;
}

MessageCheckboxPopover::MessageCheckboxPopover()
    : stackView_(std::make_shared<StackView>()), popover_(std::make_shared<platform::Popover>()) {
    buildStack();
    buildLabel();
    buildCheckbox();
    popover_->setBehavior(platform::Popover::Behavior::transient);
    auto content = std::make_shared<platform::ViewController>();
    content->setView(stackView_);
    popover_->setContentViewController(std::move(content));
}

void MessageCheckboxPopover::buildStack() {
    stackView_->setHuggingPriority(kHuggingPriority, StackView::Orientation::horizontal);
    stackView_->setHuggingPriority(kHuggingPriority, StackView::Orientation::vertical);
    stackView_->setEdgeInsets({inset, inset, inset, inset});
    stackView_->setAlignment(StackView::Alignment::centerX);
    stackView_->setOrientation(StackView::Orientation::vertical);
}

void MessageCheckboxPopover::buildLabel() {
    textField_->setEditable(false);
    textField_->setBezeled(false);
    textField_->setDrawsBackground(false);
    // Fixed width, so longer texts wrap into more lines.
    textField_->setFrameSize({labelWidth, minimumLabelHeight});
    textField_->setLineBreakMode(platform::LineBreakMode::byWordWrapping);
    textField_->setPreferredMaxLayoutWidth(labelWidth);
    stackView_->addArrangedSubview(textField_);
}

void MessageCheckboxPopover::buildCheckbox() {
    checkbox_ = platform::Button::checkbox("", "buttonPressed:");
    checkbox_->setFrameSize({checkbox_->frame().width(), checkboxHeight});
    checkbox_->setBezelStyle(platform::Button::BezelStyle::recessed);
    stackView_->addArrangedSubview(checkbox_);
}

void MessageCheckboxPopover::show(const std::optional<std::string>& text,
                                  const std::optional<std::string>& title, platform::View& view,
                                  platform::RectEdge preferredEdge, bool checked,
                                  std::optional<Callback> callback) {
    platform::assertMainThread();
    if (text) textField_->setStringValue(*text);
    if (title) checkbox_->setTitle(*title);
    checkbox_->setState(checked ? platform::ControlState::on : platform::ControlState::off);
    if (callback) callback_ = std::move(callback);
    popover_->show(platform::Rect{}, view, preferredEdge);
}

void MessageCheckboxPopover::buttonPressed(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    if (callback_ && *callback_) (*callback_)(checkbox_->state() == platform::ControlState::on);
}

MessageCheckboxPopover::~MessageCheckboxPopover() {
    popover_->close();
}

}  // namespace zelvana::core
