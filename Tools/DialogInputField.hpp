#pragma once

#include "platform/appkit/TextField.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::tools {

// Hears Return and Escape released in a DialogInputField. Main thread.
class DialogInputFieldDelegate {
public:
    virtual ~DialogInputFieldDelegate() = default;
    // Return.
    virtual void dialogInputSubmitted() = 0;
    // Escape.
    virtual void dialogInputCancelled() = 0;
};

// The text field of a dialog: Return and Escape released in it go to
// its delegate, held weakly, and are ignored without one. Main thread only.
class DialogInputField : public platform::TextField {
public:
    using TextField::TextField;

    platform::WeakRef<DialogInputFieldDelegate> dialogDelegate() const { return dialogDelegate_; }
    void setDialogDelegate(platform::WeakRef<DialogInputFieldDelegate> delegate) {
        dialogDelegate_ = std::move(delegate);
    }

    void keyUp(const platform::Event& event) override;

private:
    platform::WeakRef<DialogInputFieldDelegate> dialogDelegate_;
};

}  // namespace zelvana::tools
