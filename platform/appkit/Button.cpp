#include "platform/appkit/Button.hpp"

#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

std::shared_ptr<Button> Button::checkbox(std::string title,
                                         std::optional<WeakRef<ActionTarget>> target,
                                         std::string action) {
    auto button = std::make_shared<Button>(std::move(title), std::move(action));
    button->setButtonType(Type::switchType);
    button->setTarget(std::move(target));
    return button;
}

bool Button::performClick() {
    assertMainThread();
    if (type_ != Type::momentaryPushIn) {
        state_ = state_ == ControlState::on ? ControlState::off : ControlState::on;
    }
    return sendAction();
}

bool Button::sendAction() {
    if (action_.empty()) return false;
    if (!target_) {
        Window* window = this->window();
        return window && window->sendAction(action_, this);
    }
    return sendActionToTarget(*target_, action_, this, "the button \"" + title_ + "\"");
}

}  // namespace zelvana::platform
