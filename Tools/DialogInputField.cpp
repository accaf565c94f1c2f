#include "Tools/DialogInputField.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

void DialogInputField::keyUp(const platform::Event& event) {
    platform::assertMainThread();
    if (event.keyCode != returnKeyCode && event.keyCode != escapeKeyCode) {
        TextField::keyUp(event);
        return;
    }
    DialogInputFieldDelegate* delegate = dialogDelegate_.get();
    if (!delegate) return;
    if (event.keyCode == returnKeyCode) {
        delegate->dialogInputSubmitted();
    } else {
        delegate->dialogInputCancelled();
    }
}

}  // namespace zelvana::tools
