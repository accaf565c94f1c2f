#include "GridPanel/AutoGrowingTextField.hpp"

#include "platform/appkit/TextView.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

AutoGrowingTextField::AutoGrowingTextField(platform::Rect frame) {
    platform::assertMainThread();
    setFrame(frame);
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

void AutoGrowingTextField::textDidEndEditing() {
    TextField::textDidEndEditing();
    isEditing_ = false;
}

platform::Size AutoGrowingTextField::measure(const std::string& text) const {
    platform::TextField probe(text);
    probe.setFont(font());
    const double width = probe.intrinsicContentSize().width - 2 * probe.textInset();
    return {width, TextField::intrinsicContentSize().height};
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
        lastSize_ = platform::Size{measure(editor->string()).width + rightMargin, height};
    }
    return *lastSize_;
}

}  // namespace zelvana::gridpanel
