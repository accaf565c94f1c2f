#include "GridPanel/AutoGrowingTextField.hpp"

#include "platform/appkit/TextLayout.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

AutoGrowingTextField::AutoGrowingTextField(platform::Rect frame) {
    platform::assertMainThread();
    setFrame(frame);
}

void AutoGrowingTextField::awakeFromNib() {
    platform::assertMainThread();
    TextField::awakeFromNib();
    if (!placeholderString().empty()) placeholderWidth_ = measure(placeholderString()).width;
}

void AutoGrowingTextField::setPlaceholderString(std::string text) {
    platform::assertMainThread();
    TextField::setPlaceholderString(std::move(text));
    placeholderWidth_ = measure(placeholderString()).width;
}

void AutoGrowingTextField::setStringValue(std::string text) {
    platform::assertMainThread();
    TextField::setStringValue(std::move(text));
    if (!isEditing_) lastSize_ = measure(stringValue());
}

void AutoGrowingTextField::textDidBeginEditing() {
    TextField::textDidBeginEditing();
    isEditing_ = true;
}

void AutoGrowingTextField::textDidChange() {
    TextField::textDidChange();
    invalidateIntrinsicContentSize();
}

void AutoGrowingTextField::textDidEndEditing() {
    TextField::textDidEndEditing();
    isEditing_ = false;
}

platform::Size AutoGrowingTextField::measure(const std::string& text) const {
    return {platform::TextLayout(text, font()).size().width,
            TextField::intrinsicContentSize().height};
}

double AutoGrowingTextField::fallbackWidth() const {
    if (lastSize_) return lastSize_->width;
    return placeholderWidth_.value_or(0);
}

platform::Size AutoGrowingTextField::intrinsicContentSize() const {
    const double height = TextField::intrinsicContentSize().height;
    const platform::TextView* editor = isEditing_ ? currentEditor() : nullptr;
    if (!editor) return {fallbackWidth(), height};
    if (editor->string().empty()) {
        lastSize_ = platform::Size{placeholderWidth_.value_or(0), height};
    } else {
        lastSize_ = platform::Size{editor->usedRect().width() + rightMargin, height};
    }
    return *lastSize_;
}

}  // namespace zelvana::gridpanel
