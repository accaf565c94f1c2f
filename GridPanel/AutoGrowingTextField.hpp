#pragma once

#include <optional>
#include <string>

#include "platform/appkit/TextField.hpp"

namespace zelvana::gridpanel {

// A text field as wide as its text: while edited, as the text the window's
// field editor lays out (plus a small margin) or the placeholder when that is
// empty; at rest, as the text last set. Always as high as the field. Nothing
// in the panel uses it. Main thread only.
class AutoGrowingTextField : public platform::TextField {
public:
    static constexpr double rightMargin = 5.0;

    explicit AutoGrowingTextField(platform::Rect frame = {});

    // Measures the placeholder a storyboard gave it.
    void awakeFromNib() override;
    // Also measures the placeholder.
    void setPlaceholderString(std::string text);
    // Also measures the text, unless it is being edited.
    void setStringValue(std::string text);

    std::optional<double> placeholderWidth() const { return placeholderWidth_; }
    std::optional<platform::Size> lastSize() const { return lastSize_; }
    bool isEditing() const { return isEditing_; }

    platform::Size intrinsicContentSize() const override;

protected:
    void textDidBeginEditing() override;
    // Each change of the edited text asks for the size again.
    void textDidChange() override;
    void textDidEndEditing() override;

private:
    // The text's width in the field's font, at the field's height.
    platform::Size measure(const std::string& text) const;
    double fallbackWidth() const;

    std::optional<double> placeholderWidth_;
    mutable std::optional<platform::Size> lastSize_;
    bool isEditing_ = false;
};

}  // namespace zelvana::gridpanel
