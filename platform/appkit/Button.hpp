#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/ActionTarget.hpp"
#include "platform/appkit/ButtonCell.hpp"
#include "platform/appkit/ControlState.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/TextLayout.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::platform {

// A push button or a checkbox. A click (a press and release inside it, or
// performClick) flips a checkbox's state, then calls the button's callback
// with it when it has one; otherwise it sends the action by name to the
// target when one is set and alive, else up the window's chain of
// controllers (the content view controller, then the window controller).
// Main thread only.
class Button : public View, public ActionSender {
public:
    enum class ButtonType { momentaryPushIn = 7, toggle = 2, checkbox = 3, radio = 4 };
    enum class BezelStyle { rounded = 1, regularSquare = 2, recessed = 13, inline_ = 15 };
    enum class ControlSize { regular = 0, small = 1, mini = 2, large = 3 };
    using State = ControlState;

    Button() = default;
    Button(std::string title, std::string action)
        : title_(std::move(title)), action_(std::move(action)) {}
    static std::shared_ptr<Button> checkbox(std::string title, std::string action);
    // A bordered push button showing only the image, sending the action to
    // the target, sized to fit.
    static std::shared_ptr<Button> buttonWithImage(Image image, WeakRef<ActionTarget> target,
                                                   std::string action);

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    // The action's name, such as "clearClicked:".
    const std::string& action() const { return action_; }
    void setAction(std::string action) { action_ = std::move(action); }
    // Held weakly, as the system holds targets.
    void setTarget(WeakRef<ActionTarget> target) { target_ = std::move(target); }
    // What a click runs, with the button; given by whoever makes the button,
    // or by its storyboard scene's controller.
    using Callback = std::function<void(Button&)>;
    void setCallback(Callback callback) { callback_ = std::move(callback); }
    bool hasCallback() const { return static_cast<bool>(callback_); }

    const std::optional<Image>& image() const { return image_; }
    void setImage(std::optional<Image> image) { image_ = std::move(image); }
    ButtonType buttonType() const { return type_; }
    void setButtonType(ButtonType type) { type_ = type; }
    State state() const { return state_; }
    void setState(State state) { state_ = state; }
    // A borderless button draws only its title and image.
    bool isBordered() const { return bordered_; }
    void setBordered(bool bordered) { bordered_ = bordered; }
    BezelStyle bezelStyle() const { return bezelStyle_; }
    void setBezelStyle(BezelStyle style) { bezelStyle_ = style; }
    ControlSize controlSize() const { return controlSize_; }
    void setControlSize(ControlSize size) { controlSize_ = size; }
    bool refusesFirstResponder() const { return refusesFirstResponder_; }
    void setRefusesFirstResponder(bool refuses) { refusesFirstResponder_ = refuses; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    // The key that clicks the button in its window without a command,
    // option or control modifier: "\r" for the default button, "\x1b" for
    // Escape; empty for none.
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }

    // The cell that follows its presses; none until one is set, and then a
    // press goes to it first.
    ButtonCell* cell() const { return cell_.get(); }
    void setCell(std::unique_ptr<ButtonCell> cell);

    // Returns whether someone handled the action. A disabled button does nothing.
    virtual bool performClick();
    // The value binding: hears each state a click gives the button, before
    // the action goes out. Setting the state in code does not tell it.
    void bindState(std::function<void(State)> binding) { stateBinding_ = std::move(binding); }

    // The title's width (and the image's) with padding; a push button with a
    // bezel is as high as the system's, others one line high. A borderless
    // button with an image and no title is as large as the image.
    Size intrinsicContentSize() const override;
    bool acceptsFirstResponder() const override { return !refusesFirstResponder_; }
    void mouseDown(const Event& event) override;
    void mouseUp(const Event& event) override;
    void drawRect(GraphicsContext& context, Rect dirtyRect) override;

protected:
    // Calls the callback, else sends the action to the target or up the
    // window's chain; returns whether someone handled it.
    bool sendAction();
    Font font() const;
    // The bezel of a bordered push button, pressed or not.
    void drawBezel(GraphicsContext& context, Rect rect) const;
    // The title (after the image) laid out in `rect`, centred or from its left;
    // a template image takes the title's colour.
    void drawTitle(GraphicsContext& context, Rect rect, TextAlignment alignment) const;

private:
    bool isBox() const { return type_ == ButtonType::checkbox || type_ == ButtonType::radio; }
    void drawBox(GraphicsContext& context) const;

    std::string title_;
    std::string action_;
    std::string keyEquivalent_;
    WeakRef<ActionTarget> target_;
    Callback callback_;
    std::optional<Image> image_;
    ButtonType type_ = ButtonType::momentaryPushIn;
    State state_ = State::off;
    BezelStyle bezelStyle_ = BezelStyle::rounded;
    ControlSize controlSize_ = ControlSize::regular;
    bool refusesFirstResponder_ = false;
    bool enabled_ = true;
    bool bordered_ = true;
    bool pressed_ = false;
    std::function<void(State)> stateBinding_;
    std::unique_ptr<ButtonCell> cell_;
};

}  // namespace zelvana::platform
