#include "platform/appkit/TextView.hpp"

#include <algorithm>
#include <utility>

#include "platform/appkit/TextLayout.hpp"

namespace zelvana::platform {

namespace {
constexpr double kDefaultFontSize = 12;
}

TextView::TextView() : TextView(Rect{}) {}

TextView::TextView(Rect frame)
    : View(frame),
      storage_(std::make_unique<TextStorage>()),
      font_(Font::systemFont(kDefaultFontSize)) {
    storage_->setChangeHandler([this] { clampScrollOffset(); });
}

void TextView::setFont(const Font& font) {
    font_ = font;
    clampScrollOffset();
}

std::size_t TextView::lineCount() const {
    const std::string& text = string();
    const auto breaks = static_cast<std::size_t>(std::ranges::count(text, '\n'));
    const bool openLastLine = !text.empty() && text.back() != '\n';
    return breaks + (openLastLine ? 1 : 0);
}

Rect TextView::bounds() const {
    const double documentHeight = static_cast<double>(lineCount()) * font_.lineHeight();
    return Rect::make(0, 0, frame().width(), std::max(documentHeight, frame().height()));
}

Rect TextView::usedRect() const {
    if (string().empty()) return {};
    return Rect{{}, TextLayout(string(), font_).size()};
}

Rect TextView::visibleRect() const {
    return Rect::make(0, scrollOffset_, frame().width(), frame().height());
}

double TextView::maxScrollOffset() const {
    return bounds().height() - frame().height();
}

void TextView::clampScrollOffset() {
    scrollOffset_ = std::clamp(scrollOffset_, 0.0, maxScrollOffset());
}

void TextView::scrollToEndOfDocument() {
    scrollOffset_ = maxScrollOffset();
}

void TextView::scrollTo(double y) {
    scrollOffset_ = y;
    clampScrollOffset();
}

void TextView::keyDown(const KeyEvent& event) {
    ++handledKeyDowns_;
    lastHandledKey_ = event;
    const bool typesText = !event.has(KeyEvent::command) && !event.has(KeyEvent::control);
    if (!editable_ || !typesText) return;
    if (std::exchange(allSelected_, false)) storage_->setString("");
    storage_->append(event.characters);
}

}  // namespace zelvana::platform
