#pragma once

#include <string>

#include "platform/appkit/Color.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::platform {

class TextField;
class TextView;

// How text that does not fit its width is shown, with the system's values.
enum class LineBreakMode {
    byWordWrapping = 0,
    byCharWrapping = 1,
    byClipping = 2,
    byTruncatingHead = 3,
    byTruncatingTail = 4,
    byTruncatingMiddle = 5,
};

// What a text field tells its delegate while it is edited. Main thread.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual void controlTextDidBeginEditing(TextField& /*field*/) {}
    virtual void controlTextDidChange(TextField& /*field*/) {}
    virtual void controlTextDidEndEditing(TextField& /*field*/) {}
};

// A text field. An editable one, as first responder, is edited through its
// window's field editor: typed characters go in, Delete takes the last
// character out, and every change reaches the delegate. Layout uses the
// font's fixed metrics: two points of padding beside the characters' average
// advance, one line high; the wrapping modes break lines at
// preferredMaxLayoutWidth (words, or characters). Main thread only.
class TextField : public View {
public:
    static constexpr double horizontalPadding = 2;

    TextField() = default;
    explicit TextField(std::string text) : stringValue_(std::move(text)) {}

    const std::string& stringValue() const { return stringValue_; }
    void setStringValue(std::string text);
    const std::string& placeholderString() const { return placeholder_; }
    void setPlaceholderString(std::string text) { placeholder_ = std::move(text); }
    const Color& textColor() const { return textColor_; }
    void setTextColor(Color color) { textColor_ = std::move(color); }
    const Font& font() const { return font_; }
    void setFont(Font font) { font_ = std::move(font); }

    bool isEditable() const { return editable_; }
    void setEditable(bool editable) { editable_ = editable; }
    bool isSelectable() const { return selectable_ || editable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }
    bool isBezeled() const { return bezeled_; }
    void setBezeled(bool bezeled) { bezeled_ = bezeled; }
    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool draws) { drawsBackground_ = draws; }
    LineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(LineBreakMode mode) { lineBreakMode_ = mode; }
    // The width at which wrapping modes break lines; 0 keeps one line.
    double preferredMaxLayoutWidth() const { return preferredMaxWidth_; }
    void setPreferredMaxLayoutWidth(double width);

    // Non-owning; the owner keeps the delegate alive or clears it.
    TextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(TextFieldDelegate* delegate) { delegate_ = delegate; }

    // The field editor while this field is being edited, else null.
    TextView* currentEditor() const;
    bool isEditing() const { return editing_; }

    // The text laid out at `width` (wrapping modes) or on one line.
    Size cellSizeForBounds(Rect bounds) const;
    Size intrinsicContentSize() const override;
    // The lines as drawn: wrapped at the layout width, or the one line.
    std::vector<std::string> lines(double width) const;

    bool acceptsFirstResponder() const override { return isSelectable(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void keyDown(const Event& event) override;
    void drawRect(GraphicsContext& context, Rect dirtyRect) override;

protected:
    // Hooks around editing; the base versions tell the delegate.
    virtual void textDidBeginEditing();
    virtual void textDidChange();
    virtual void textDidEndEditing();

private:
    bool wraps() const;

    std::string stringValue_;
    std::string placeholder_;
    Color textColor_ = Color::labelColor();
    Font font_ = Font::systemFont(13);
    bool editable_ = true;
    bool selectable_ = true;
    bool bezeled_ = true;
    bool drawsBackground_ = true;
    bool editing_ = false;
    LineBreakMode lineBreakMode_ = LineBreakMode::byClipping;
    double preferredMaxWidth_ = 0;
    TextFieldDelegate* delegate_ = nullptr;
};

}  // namespace zelvana::platform
