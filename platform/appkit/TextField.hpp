#pragma once

#include <string>

#include "platform/appkit/Color.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/LineBreakMode.hpp"
#include "platform/appkit/TextLayout.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::platform {

class TextField;
class TextView;

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
// character out, and the delegate hears that editing began at the first
// change, of every change, and that it ended when the field lost the focus.
// Its text is laid out as it is drawn (TextLayout), two points in from each
// side, four inside a bezel: the wrapping modes break lines at the width, the
// truncating ones shorten the text with an ellipsis where it does not fit it.
// Main thread only.
class TextField : public View {
public:
    static constexpr double horizontalPadding = 2;
    static constexpr double bezelPadding = 4;

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
    TextAlignment alignment() const { return alignment_; }
    void setAlignment(TextAlignment alignment) { alignment_ = alignment; }
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

    // The whole text laid out at `width` (wrapping modes) or on its lines.
    Size cellSizeForBounds(Rect bounds) const;
    Size intrinsicContentSize() const override;
    // The lines as drawn in `width`: wrapped, or shortened with an ellipsis.
    std::vector<std::string> lines(double width) const;
    // The text (or the placeholder) as drawn in the bounds, and where its
    // lines lie there (past the bounds where they do not fit).
    TextLayout layoutInBounds() const;
    Rect textFrame() const;
    // The room on each side of the text: more inside a bezel.
    double textInset() const { return bezeled_ ? bezelPadding : horizontalPadding; }

    bool acceptsFirstResponder() const override { return isSelectable(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void keyDown(const Event& event) override;
    void drawRect(GraphicsContext& context, Rect dirtyRect) override;
    // The ring follows the bezel's outline.
    void drawFocusRingMask(GraphicsContext& context) const override;

protected:
    // The roundness of the bezel; a plain field's is square.
    virtual double bezelCornerRadius() const { return 0; }
    // Hooks around editing, as a person types: the first change begins it,
    // losing the focus ends it; the base versions tell the delegate.
    virtual void textDidBeginEditing();
    virtual void textDidChange();
    virtual void textDidEndEditing();

private:
    bool wraps() const;
    // The text laid out for a field `width` wide; 0 sets no limit.
    TextLayout textLayout(const std::string& text, double width) const;
    // The room the text leaves above its first line.
    double textTop() const;

    std::string stringValue_;
    std::string placeholder_;
    Color textColor_ = Color::labelColor();
    Font font_ = Font::systemFont(13);
    bool editable_ = true;
    bool selectable_ = true;
    bool bezeled_ = true;
    bool drawsBackground_ = true;
    bool editing_ = false;
    // Something was typed since the field took the focus.
    bool changed_ = false;
    TextAlignment alignment_ = TextAlignment::left;
    LineBreakMode lineBreakMode_ = LineBreakMode::byClipping;
    double preferredMaxWidth_ = 0;
    TextFieldDelegate* delegate_ = nullptr;
};

}  // namespace zelvana::platform
