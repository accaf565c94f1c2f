#pragma once

#include <string>

#include "platform/appkit/Color.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::platform {

// A non-editable, borderless text field showing one line of text.
// Its fitting size follows the font's fixed metrics: two points of padding on
// each side of the characters' average advance, one line high.
class Label : public View {
public:
    static constexpr double horizontalPadding = 2;

    Label() = default;
    explicit Label(std::string text) : stringValue_(std::move(text)) {}
    static std::shared_ptr<Label> labelWithString(std::string text) {
        return std::make_shared<Label>(std::move(text));
    }

    const std::string& stringValue() const { return stringValue_; }
    void setStringValue(std::string text) { stringValue_ = std::move(text); }
    const Color& textColor() const { return textColor_; }
    void setTextColor(Color color) { textColor_ = std::move(color); }
    const Font& font() const { return font_; }
    void setFont(Font font) { font_ = std::move(font); }
    bool isEditable() const { return false; }

    // Width: characters (code points) times the average advance, rounded up,
    // plus the padding; height: the font's line height.
    Size fittingSize() const override;

private:
    std::string stringValue_;
    Color textColor_ = Color::labelColor();
    Font font_ = Font::systemFont(13);
};

}  // namespace zelvana::platform
