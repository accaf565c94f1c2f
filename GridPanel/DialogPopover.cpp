#include "GridPanel/DialogPopover.hpp"

#include <algorithm>

#include "platform/appkit/ViewController.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::gridpanel {

using platform::Button;
using platform::StackView;

namespace {

constexpr double kFieldWidth = 230;
constexpr double kButtonWidth = 115;

// A button at least 115 points wide.
class WideButton final : public Button {
public:
    using Button::Button;
    platform::Size intrinsicContentSize() const override {
        const platform::Size size = Button::intrinsicContentSize();
        return {std::max(size.width, kButtonWidth), size.height};
    }
};

}  // namespace

std::shared_ptr<DialogPopover> DialogPopover::make(std::optional<std::string> message,
                                                   std::optional<DialogInput> input,
                                                   std::string confirmTitle,
                                                   std::string cancelTitle,
                                                   DialogCallback callback) {
    platform::assertMainThread();
    std::shared_ptr<DialogPopover> popover(new DialogPopover(
        message, std::move(input), confirmTitle, cancelTitle, std::move(callback)));
    popover->build(std::move(message), std::move(confirmTitle), std::move(cancelTitle));
    return popover;
}

DialogPopover::DialogPopover(std::optional<std::string> /*message*/,
                             std::optional<DialogInput> input, std::string /*confirmTitle*/,
                             std::string /*cancelTitle*/, DialogCallback callback)
    : callback_(std::move(callback)),
      popover_(std::make_shared<platform::Popover>()),
      input_(std::move(input)) {}

DialogPopover::~DialogPopover() {
    popover_->setDelegate(nullptr);
}

void DialogPopover::build(std::optional<std::string> message, std::string confirmTitle,
                          std::string cancelTitle) {
    stackView_ = std::make_shared<StackView>();
    stackView_->setHuggingPriority(750, StackView::Orientation::horizontal);
    stackView_->setHuggingPriority(750, StackView::Orientation::vertical);
    stackView_->setEdgeInsets({15, 15, 15, 15});
    stackView_->setAlignment(StackView::Alignment::centerX);
    stackView_->setOrientation(StackView::Orientation::vertical);
    stackView_->setSpacing(14);
    if (message) {
        textField_ = platform::Label::labelWithString(*message);
        textField_->setLineBreakMode(platform::LineBreakMode::byWordWrapping);
        stackView_->addArrangedSubview(textField_);
    }
    inputField_ =
        std::make_shared<tools::DialogInputField>(input_ && input_->text ? *input_->text : "");
    inputField_->setDialogDelegate(weak_.ref());
    inputField_->constrainWidth(platform::View::SizeRelation::equal, kFieldWidth);
    inputField_->setLineBreakMode(platform::LineBreakMode::byTruncatingHead);
    stackView_->addArrangedSubview(inputField_);

    colorSlider_ = std::make_shared<ColorSlider>(platform::Rect{});
    colorSlider_->setTarget(actionTarget());
    colorSlider_->setUseAnimation(false);
    colorSlider_->setAction("colorDidChange:");
    colorSlider_->setFrameSize({kFieldWidth, 12});
    stackView_->addArrangedSubview(colorSlider_);
    platform::mainQueue().async([weak = weak_.ref()] {
        if (DialogPopover* popover = weak.get()) popover->finishSliderSetUp();
    });

    auto buttons = std::make_shared<StackView>();
    cancelButton_ = std::make_shared<WideButton>(std::move(cancelTitle), "cancelPressed:");
    button_ = std::make_shared<WideButton>(std::move(confirmTitle), "buttonPressed:");
    cancelButton_->setCallback([weak = weak_.ref()](platform::Button&) {
        if (DialogPopover* popover = weak.get()) popover->cancelPressed();
    });
    button_->setCallback([weak = weak_.ref()](platform::Button&) {
        if (DialogPopover* popover = weak.get()) popover->buttonPressed();
    });
    for (const auto& each : {cancelButton_, button_}) buttons->addArrangedSubview(each);
    stackView_->addArrangedSubview(buttons);

    popover_->setBehavior(platform::Popover::Behavior::transient);
    auto content = std::make_shared<platform::ViewController>();
    content->setView(stackView_);
    stackView_->setFrameSize(stackView_->fittingSize());
    popover_->setContentViewController(content);
    popover_->setDelegate(this);
}

void DialogPopover::finishSliderSetUp() {
    colorSlider_->setUpLayers();
    if (input_ && input_->color) {
        colorSlider_->setSelectedColor(input_->color);
        colorSlider_->updateLayer();
    }
}

void DialogPopover::show(std::optional<std::string> message,
                         std::optional<std::string> confirmTitle,
                         std::optional<std::string> cancelTitle, DialogCallback callback,
                         platform::View& anchor, platform::RectEdge edge) {
    platform::assertMainThread();
    if (message && textField_) textField_->setStringValue(std::move(*message));
    if (confirmTitle) button_->setTitle(std::move(*confirmTitle));
    if (cancelTitle) cancelButton_->setTitle(std::move(*cancelTitle));
    if (callback) callback_ = std::move(callback);
    if (!popover_->isShown()) reported_ = false;  // a new round
    popover_->show(platform::Rect{}, anchor, edge);
    if (popover_->isShown()) {
        keepAlive_ = std::static_pointer_cast<DialogPopover>(shared_from_this());
    }
}

std::optional<platform::Color> DialogPopover::chosenColor() const {
    if (!sliderMoved_) return input_ ? input_->color : std::nullopt;
    return colorSlider_->selectedColor();
}

void DialogPopover::report(const std::optional<DialogInput>& input) {
    if (std::exchange(reported_, true) || !callback_) return;
    // A copy: the callback may drop this popover's last other owner.
    const auto callback = callback_;
    callback(input);
}

void DialogPopover::buttonPressed() {
    platform::assertMainThread();
    // Reported once the popover is gone, so the panel has its key status back.
    confirmed_ = DialogInput{inputField_->stringValue(), chosenColor()};
    if (popover_->isShown()) {
        popover_->close();
    } else {
        report(std::exchange(confirmed_, std::nullopt));
    }
}

void DialogPopover::cancelPressed() {
    platform::assertMainThread();
    // Escape comes two ways: its key-down closes the popover through the
    // window's cancel, its key-up in the field lands here. Whichever comes
    // first reports; report() speaks once a round, so the other is silent.
    if (popover_->isShown()) {
        popover_->close();
    } else {
        report(std::nullopt);
    }
}

void DialogPopover::cancelWithoutClosing() {
    platform::assertMainThread();
    report(std::nullopt);
}

void DialogPopover::popoverDidClose(platform::Popover& /*popover*/) {
    platform::assertMainThread();
    const auto self = std::exchange(keepAlive_, nullptr);
    report(std::exchange(confirmed_, std::nullopt));
}

bool DialogPopover::performAction(const std::string& action,
                                  const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    if (action == "colorDidChange:") {
        sliderMoved_ = true;
    } else {
        return action == "colorToggled:";
    }
    return true;
}

}  // namespace zelvana::gridpanel
