#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Button.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::core {

// A transient popover, built in code, with a wrapping text above a checkbox
// whose changes go to a callback; the settings window's trackpad info uses
// it. It is the checkbox's target, so it is made shared. Main thread only.
class MessageCheckboxPopover : public platform::StoryboardObject {
public:
    using Callback = std::function<void(bool checked)>;

    static constexpr double labelWidth = 250;
    static constexpr double minimumLabelHeight = 30;
    static constexpr double checkboxHeight = 30;
    static constexpr double inset = 15;

    static std::shared_ptr<MessageCheckboxPopover> create();
    // A shown popover closes with its owner.
    ~MessageCheckboxPopover() override;

    // A text or title that is absent keeps the previous one, and so does an
    // absent callback; the checkbox takes `checked`.
    void show(const std::optional<std::string>& text, const std::optional<std::string>& title,
              platform::View& view, platform::RectEdge preferredEdge, bool checked,
              std::optional<Callback> callback);
    // The checkbox's action: the callback hears whether it is now on.
    void buttonPressed(const platform::ActionSender* sender);

    const std::shared_ptr<platform::TextField>& textField() const { return textField_; }
    const std::shared_ptr<platform::StackView>& stackView() const { return stackView_; }
    const std::shared_ptr<platform::Button>& checkbox() const { return checkbox_; }
    const std::shared_ptr<platform::Popover>& popover() const { return popover_; }

private:
    MessageCheckboxPopover();
    void buildStack();
    void buildLabel();
    void buildCheckbox();

    std::shared_ptr<platform::TextField> textField_ = std::make_shared<platform::TextField>();
    std::shared_ptr<platform::StackView> stackView_;
    std::shared_ptr<platform::Button> checkbox_;
    std::optional<Callback> callback_;
    std::shared_ptr<platform::Popover> popover_;
    platform::WeakFactory<MessageCheckboxPopover> weak_{this};
};

}  // namespace zelvana::core
