#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "GridPanel/ColorSlider.hpp"
#include "Tools/DialogInputField.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::gridpanel {

// What the rename popover hands back; absent means cancelled or closed.
struct DialogInput {
    std::optional<std::string> text;
    std::optional<platform::Color> color;
    bool operator==(const DialogInput&) const = default;
};
using DialogCallback = std::function<void(const std::optional<DialogInput>&)>;

// The transient popover that renames a cell and picks its colour on a hue
// slider, with "Cancel" and "OK". The callback hears the result once, after
// the popover has closed: the input on OK or Return, none on Cancel, Escape
// or any other close. A slider
// left alone keeps the given colour; moved to 0 it means no colour. Shown, it
// keeps itself alive until it closes. Main thread only.
class DialogPopover : public platform::StoryboardObject,
                      public platform::PopoverDelegate,
                      public tools::DialogInputFieldDelegate {
public:
    static std::shared_ptr<DialogPopover> make(std::optional<std::string> message,
                                               std::optional<DialogInput> input,
                                               std::string confirmTitle, std::string cancelTitle,
                                               DialogCallback callback);
    ~DialogPopover() override;

    // Given texts and callback replace the current ones; shows the popover
    // beside `anchor` at `edge`.
    void show(std::optional<std::string> message, std::optional<std::string> confirmTitle,
              std::optional<std::string> cancelTitle, DialogCallback callback,
              platform::View& anchor, platform::RectEdge edge);
    void buttonPressed();
    void cancelPressed();
    // Reports the cancel and leaves the popover open.
    void cancelWithoutClosing();

    void dialogInputSubmitted() override { buttonPressed(); }
    void dialogInputCancelled() override { cancelPressed(); }
    void popoverDidClose(platform::Popover& popover) override;
    bool performAction(const std::string& action, const platform::ActionSender* sender) override;

    platform::Label* textField() const { return textField_.get(); }
    // Return submits, Escape cancels (key-ups).
    tools::DialogInputField& inputField() const { return *inputField_; }
    ColorSlider& colorSlider() const { return *colorSlider_; }
    platform::Button& button() const { return *button_; }
    platform::Button& cancelButton() const { return *cancelButton_; }
    platform::StackView& stackView() const { return *stackView_; }
    platform::Popover& popover() const { return *popover_; }
    bool hasReported() const { return reported_; }

private:
    DialogPopover(std::optional<std::string> message, std::optional<DialogInput> input,
                  std::string confirmTitle, std::string cancelTitle, DialogCallback callback);
    void build(std::optional<std::string> message, std::string confirmTitle,
               std::string cancelTitle);
    void finishSliderSetUp();
    std::optional<platform::Color> chosenColor() const;
    void report(const std::optional<DialogInput>& input);

    std::shared_ptr<platform::Label> textField_;
    std::shared_ptr<tools::DialogInputField> inputField_;
    std::shared_ptr<platform::StackView> stackView_;
    std::shared_ptr<ColorSlider> colorSlider_;
    std::shared_ptr<platform::Button> button_;
    std::shared_ptr<platform::Button> cancelButton_;
    DialogCallback callback_;
    std::shared_ptr<platform::Popover> popover_;
    std::optional<DialogInput> input_;
    std::optional<DialogInput> confirmed_;
    bool sliderMoved_ = false;
    bool reported_ = false;
    std::shared_ptr<DialogPopover> keepAlive_;
    platform::WeakFactory<DialogPopover> weak_{this};
};

}  // namespace zelvana::gridpanel
