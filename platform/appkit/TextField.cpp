#include "platform/appkit/TextField.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

std::size_t codePointCount(const std::string& text) {
    return static_cast<std::size_t>(
        std::ranges::count_if(text, [](char c) { return !isContinuation(c); }));
}

// The byte length of the first `count` code points.
std::size_t prefixBytes(const std::string& text, std::size_t count) {
    std::size_t bytes = 0;
    for (std::size_t seen = 0; bytes < text.size(); ++bytes) {
        if (!isContinuation(text[bytes]) && seen++ == count) break;
    }
    return bytes;
}

void dropLastCodePoint(std::string& text) {
    while (!text.empty() && isContinuation(text.back())) text.pop_back();
    if (!text.empty()) text.pop_back();
}

// Greedy breaking at `perLine` code points: at spaces when `words`, and
// inside a word only when the word alone is too long.
std::vector<std::string> breakLines(const std::string& text, std::size_t perLine, bool words) {
    std::vector<std::string> lines;
    std::string rest = text;
    while (codePointCount(rest) > perLine) {
        std::size_t cut = prefixBytes(rest, perLine);
        std::size_t next = cut;
        if (words) {
            const auto space = rest.rfind(' ', cut);
            if (space != std::string::npos && space > 0) {
                cut = space;
                next = space + 1;
            }
        }
        lines.push_back(rest.substr(0, cut));
        rest.erase(0, next);
    }
    lines.push_back(rest);
    return lines;
}

}  // namespace

void TextField::setStringValue(std::string text) {
    platform::assertMainThread();
    stringValue_ = std::move(text);
    if (TextView* editor = currentEditor()) editor->setString(stringValue_);
}

void TextField::setPreferredMaxLayoutWidth(double width) {
    platform::assertMainThread();
    preferredMaxWidth_ = std::isfinite(width) && width > 0 ? width : 0;
}

TextView* TextField::currentEditor() const {
    Window* window = this->window();
    return editing_ && window ? &window->fieldEditor() : nullptr;
}

bool TextField::wraps() const {
    return lineBreakMode_ == LineBreakMode::byWordWrapping ||
           lineBreakMode_ == LineBreakMode::byCharWrapping;
}

std::vector<std::string> TextField::lines(double width) const {
    if (!wraps() || !std::isfinite(width) || width <= 0) return {stringValue_};
    const double room = std::max(0.0, width - 2 * horizontalPadding);
    const auto perLine =
        static_cast<std::size_t>(std::max(1.0, std::floor(room / font_.averageCharacterWidth())));
    return breakLines(stringValue_, perLine, lineBreakMode_ == LineBreakMode::byWordWrapping);
}

Size TextField::cellSizeForBounds(Rect bounds) const {
    double widest = 0;
    const auto lines = this->lines(bounds.width());
    for (const auto& line : lines) {
        widest = std::max(widest, static_cast<double>(codePointCount(line)));
    }
    return Size{std::ceil(widest * font_.averageCharacterWidth()) + 2 * horizontalPadding,
                font_.lineHeight() * static_cast<double>(lines.size())};
}

Size TextField::intrinsicContentSize() const {
    const double width =
        preferredMaxWidth_ > 0 ? preferredMaxWidth_ : std::numeric_limits<double>::infinity();
    return cellSizeForBounds(Rect{{}, {width, 0}});
}

bool TextField::becomeFirstResponder() {
    platform::assertMainThread();
    Window* window = this->window();
    if (!editable_ || !window) return true;
    editing_ = true;
    window->fieldEditor().setString(stringValue_);
    textDidBeginEditing();
    return true;
}

bool TextField::resignFirstResponder() {
    platform::assertMainThread();
    if (editing_) {
        editing_ = false;
        textDidEndEditing();
    }
    return true;
}

void TextField::keyDown(const Event& event) {
    platform::assertMainThread();
    const bool command = event.has(Event::command) || event.has(Event::control);
    const bool printable = !event.characters.empty() &&
                           static_cast<unsigned char>(event.characters.front()) >= 0x20 &&
                           event.characters.front() != 0x7f;
    TextView* editor = currentEditor();
    if (!editor || command || (event.keyCode != kVK_Delete && !printable)) {
        View::keyDown(event);
        return;
    }
    if (editor->hasSelectedAll()) stringValue_.clear();  // typing replaces the selection
    if (event.keyCode == kVK_Delete) {
        if (!editor->hasSelectedAll()) dropLastCodePoint(stringValue_);
    } else {
        stringValue_ += event.characters;
    }
    editor->setString(stringValue_);
    textDidChange();
}

void TextField::textDidBeginEditing() {
    if (delegate_) delegate_->controlTextDidBeginEditing(*this);
}

void TextField::textDidChange() {
    if (delegate_) delegate_->controlTextDidChange(*this);
}

void TextField::textDidEndEditing() {
    if (delegate_) delegate_->controlTextDidEndEditing(*this);
}

void TextField::drawRect(GraphicsContext& context, Rect /*dirtyRect*/) {
    platform::assertMainThread();
    const Rect bounds = this->bounds();
    if (drawsBackground_) {
        context.setFillColor(Color::textBackgroundColor());
        context.fillRect(bounds);
    }
    if (bezeled_) {
        context.setStrokeColor(Color::grayColor());
        context.stroke(BezierPath::rect(bounds), 1);
    }
    const bool placeholder = stringValue_.empty();
    const Color color = placeholder ? Color::secondaryLabelColor() : textColor_;
    double y = 0;
    for (const auto& line : placeholder ? std::vector{placeholder_} : lines(bounds.width())) {
        context.drawText(line, Point{horizontalPadding, y}, font_, color);
        y += font_.lineHeight();
    }
}

}  // namespace zelvana::platform
