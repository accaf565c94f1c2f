#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Button.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::tools {

// A popover with a message and one button that runs an action, then closes.
// Made shared (the button's target is the popover object). Main thread only.
class MessageButtonPopover : public platform::StoryboardObject {
public:
    using Callback = std::function<void()>;

    // The popover closes with it.
    ~MessageButtonPopover() override;

    static std::shared_ptr<MessageButtonPopover> make(std::string message, std::string buttonTitle,
                                                      Callback callback);

    // What is given replaces what the popover had; then it is shown.
    void show(std::optional<std::string> message, std::optional<std::string> buttonTitle,
              platform::View& relativeTo, platform::RectEdge preferredEdge,
              Callback callback = nullptr);
    // The button's action: runs the callback, then closes.
    void buttonPressed(const platform::ActionSender* sender);

    const std::shared_ptr<platform::Label>& textField() const { return textField_; }
    const std::shared_ptr<platform::StackView>& stackView() const { return stackView_; }
    const std::shared_ptr<platform::Button>& button() const { return button_; }
    const std::shared_ptr<platform::Popover>& popover() const { return popover_; }

private:
    MessageButtonPopover(std::string message, Callback callback);

    std::shared_ptr<platform::Label> textField_;
    std::shared_ptr<platform::StackView> stackView_;
    std::shared_ptr<platform::Button> button_;
    Callback callback_;
    std::shared_ptr<platform::Popover> popover_;
    platform::WeakFactory<MessageButtonPopover> weak_{this};
};

}  // namespace zelvana::tools
