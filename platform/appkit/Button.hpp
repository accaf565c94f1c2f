#pragma once

#include <optional>
#include <string>

#include "platform/appkit/ActionTarget.hpp"
#include "platform/appkit/ControlState.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/View.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

// A button: a push button, or a two-state checkbox (the switch type) whose
// click flips its state. A click sends its action to its target, or without
// one up the window's chain of controllers (the content view controller,
// then the window controller). Main thread only.
class Button : public View {
public:
    enum class Type { momentaryPushIn, toggle, switchType };
    // Raw values of the bezel styles in use.
    enum class BezelStyle { rounded = 1, recessed = 13 };

    Button() = default;
    Button(std::string title, std::string action)
        : title_(std::move(title)), action_(std::move(action)) {}
    // A checkbox with that title, target and action, state off.
    static std::shared_ptr<Button> checkbox(std::string title,
                                            std::optional<WeakRef<ActionTarget>> target,
                                            std::string action);

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    // Shown beside the title; none for a text-only button.
    const std::optional<Image>& image() const { return image_; }
    void setImage(std::optional<Image> image) { image_ = std::move(image); }
    // The action's name, such as "clearClicked:".
    const std::string& action() const { return action_; }
    void setAction(std::string action) { action_ = std::move(action); }
    const std::optional<WeakRef<ActionTarget>>& target() const { return target_; }
    void setTarget(std::optional<WeakRef<ActionTarget>> target) { target_ = std::move(target); }

    Type buttonType() const { return type_; }
    void setButtonType(Type type) { type_ = type; }
    BezelStyle bezelStyle() const { return bezelStyle_; }
    void setBezelStyle(BezelStyle style) { bezelStyle_ = style; }
    // Only two-state buttons (toggle, switch) leave off.
    ControlState state() const { return state_; }
    void setState(ControlState state) { state_ = state; }

    // Flips a two-state button's state (mixed becomes on), then sends the
    // action. Returns whether someone handled it; a target that is gone is
    // written to the system log.
    virtual bool performClick();

protected:
    bool sendAction();

private:
    std::string title_;
    std::optional<Image> image_;
    std::string action_;
    std::optional<WeakRef<ActionTarget>> target_;
    Type type_ = Type::momentaryPushIn;
    BezelStyle bezelStyle_ = BezelStyle::rounded;
    ControlState state_ = ControlState::off;
};

}  // namespace zelvana::platform
