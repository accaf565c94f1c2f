#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Color.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/KeyEvent.hpp"
#include "platform/appkit/TextStorage.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::platform {

// A text view inside its scroll view. The frame is the part on screen; the
// bounds cover the whole document, one line height per line (no wrapping), and
// never less than the frame. The visible rectangle is the frame's height of
// the document at the current scroll offset.
class TextView : public View {
public:
    TextView();
    explicit TextView(Rect frame);

    TextStorage* textStorage() { return storage_.get(); }
    const TextStorage* textStorage() const { return storage_.get(); }
    const std::string& string() const { return storage_->string(); }
    // Replacing the text drops the selection.
    void setString(const std::string& text) {
        storage_->setString(text);
        allSelected_ = false;
    }
    // Selects the whole text, so the next typed text replaces it.
    void selectAll() { allSelected_ = !storage_->string().empty(); }
    bool hasSelectedAll() const { return allSelected_; }

    bool isEditable() const { return editable_; }
    void setEditable(bool editable) { editable_ = editable; }
    // The caret's colour; clear hides it.
    const Color& insertionPointColor() const { return insertionPointColor_; }
    void setInsertionPointColor(Color color) { insertionPointColor_ = std::move(color); }
    // The font that sets the line height.
    const Font& font() const { return font_; }
    void setFont(const Font& font);

    Rect bounds() const override;
    Rect visibleRect() const;
    // What the layout manager uses of the text container: the widest line
    // in the view's font by the lines' height; empty for no text.
    Rect usedRect() const;
    std::size_t lineCount() const;
    void scrollToEndOfDocument();
    // Scrolls so the visible rectangle starts at `y`, kept within the document.
    void scrollTo(double y);

    // Base handling: an editable view inserts the typed characters; every
    // event that reaches it is counted as handled.
    void keyDown(const KeyEvent& event) override;
    int handledKeyDownCount() const { return handledKeyDowns_; }
    const std::optional<KeyEvent>& lastHandledKeyEvent() const { return lastHandledKey_; }

private:
    double maxScrollOffset() const;
    void clampScrollOffset();

    std::unique_ptr<TextStorage> storage_;
    bool editable_ = true;
    Font font_;
    double scrollOffset_ = 0;
    int handledKeyDowns_ = 0;
    bool allSelected_ = false;
    std::optional<KeyEvent> lastHandledKey_;
    Color insertionPointColor_ = Color::labelColor();
};

}  // namespace zelvana::platform
