#include "platform/appkit/Button.hpp"

#include "platform/appkit/Window.hpp"

namespace zelvana::platform {

bool Button::performClick() {
    Window* window = this->window();
    if (action_.empty() || !window) return false;
    return window->sendAction(action_, this);
}

}  // namespace zelvana::platform
