#include "Logging/KeyDownTextView.hpp"

#include "platform/appkit/Window.hpp"

namespace zelvana::logging {

void KeyDownTextView::keyDown(const platform::KeyEvent& event) {
    if (event.has(platform::KeyEvent::command)) {
        if (event.charactersIgnoringModifiers == "w") {
            if (platform::Window* window = this->window()) window->close();
            return;
        }
        if (event.charactersIgnoringModifiers == "h") {
            if (platform::Window* window = this->window()) window->orderOut(nullptr);
            return;
        }
    }
    TextView::keyDown(event);
}

}  // namespace zelvana::logging
