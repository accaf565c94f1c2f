#include "platform/appkit/SearchField.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

// Its click clears the field that made it, while that field exists.
class SearchField::CancelButton : public Button {
public:
    explicit CancelButton(WeakRef<SearchField> field) : field_(std::move(field)) {}
    bool performClick() override {
        SearchField* field = field_.get();
        if (!field || !isEnabled()) return false;
        field->cancelClicked();
        return true;
    }

private:
    WeakRef<SearchField> field_;
};

SearchField::SearchField() : cancelButtonCell_(std::make_shared<CancelButton>(weak_.ref())) {}

bool SearchField::clickCancelButton() {
    assertMainThread();
    return cancelButtonCell_ && cancelButtonCell_->performClick();
}

void SearchField::cancelClicked() {
    setStringValue("");
    textDidChange();
}

}  // namespace zelvana::platform
