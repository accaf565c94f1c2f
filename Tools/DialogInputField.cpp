#include "Tools/DialogInputField.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

void DialogInputField::keyUp(const platform::Event& event) {
    platform::assertMainThread();
    if (event.keyCode != platform::kVK_Return && event.keyCode != platform::kVK_Escape) {
        TextField::keyUp(event);
        return;
    }
    DialogInputFieldDelegate* delegate = dialogDelegate_.get();
    if (!delegate) return;
    if (event.keyCode == platform::kVK_Return) {
        delegate->dialogInputSubmitted();
    } else {
        delegate->dialogInputCancelled();
    }
}

}  // namespace zelvana::tools
