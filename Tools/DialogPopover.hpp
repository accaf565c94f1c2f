#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Tools/DialogInputField.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/StackView.hpp"

namespace zelvana::tools {

// A popover that asks for one line of text, with Cancel and OK. The callback
// hears the text on OK or Return, and nothing on Cancel, Escape or any close
// (so after OK it hears a second report, nothing; act on the first of a
// showing). Made shared (the buttons' target is the dialog). Main thread only.
class DialogPopover : public platform::StoryboardObject,
                      public platform::PopoverDelegate,
                      public DialogInputFieldDelegate {
public:
    using Callback = std::function<void(const std::optional<std::string>& text)>;

    static std::shared_ptr<DialogPopover> make(std::optional<std::string> message,
                                               std::optional<std::string> initialText,
                                               std::string okTitle, std::string cancelTitle,
                                               Callback callback);
    ~DialogPopover() override;

    // What is given replaces what the dialog had (a message only when it was
    // made with one); the field keeps its text. Then it is shown.
    void show(std::optional<std::string> message, std::optional<std::string> okTitle,
              std::optional<std::string> cancelTitle, platform::View& relativeTo,
              platform::RectEdge preferredEdge, Callback callback = nullptr);
    // OK and Cancel.
    void buttonPressed(const platform::ActionSender* sender);
    void cancelPressed(const platform::ActionSender* sender);

    void popoverDidClose(platform::Popover& popover) override;
    void dialogInputSubmitted() override { buttonPressed(nullptr); }
    void dialogInputCancelled() override { cancelPressed(nullptr); }

    const std::shared_ptr<platform::Label>& textField() const { return textField_; }
    const std::shared_ptr<DialogInputField>& inputField() const { return inputField_; }
    const std::shared_ptr<platform::StackView>& stackView() const { return stackView_; }
    const std::shared_ptr<platform::Button>& button() const { return button_; }
    const std::shared_ptr<platform::Button>& cancelButton() const { return cancelButton_; }
    const std::shared_ptr<platform::Popover>& popover() const { return popover_; }

private:
    DialogPopover(std::optional<std::string> message, std::optional<std::string> initialText,
                  Callback callback);
    void addButtons(std::string okTitle, std::string cancelTitle);
    void report(const std::optional<std::string>& text) const;

    std::shared_ptr<platform::Label> textField_;
    std::shared_ptr<DialogInputField> inputField_;
    std::shared_ptr<platform::StackView> stackView_;
    std::shared_ptr<platform::Button> button_;
    std::shared_ptr<platform::Button> cancelButton_;
    Callback callback_;
    std::shared_ptr<platform::Popover> popover_;
    platform::WeakFactory<DialogPopover> weak_{this};
};

}  // namespace zelvana::tools
