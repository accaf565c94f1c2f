#include "platform/appkit/TextField.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

constexpr double kBezelRoom = 6;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

void dropLastCodePoint(std::string& text) {
    while (!text.empty() && isContinuation(text.back())) text.pop_back();
    if (!text.empty()) text.pop_back();
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

TextLayout TextField::textLayout(const std::string& text, double width) const {
    const bool limited = width > 0 && std::isfinite(width);
    return TextLayout(text, font_, lineBreakMode_,
                      limited ? std::max(1.0, width - 2 * textInset()) : 0);
}

std::vector<std::string> TextField::lines(double width) const {
    return textLayout(stringValue_, width).lines();
}

TextLayout TextField::layoutInBounds() const {
    return textLayout(stringValue_.empty() ? placeholder_ : stringValue_, bounds().width());
}

Size TextField::cellSizeForBounds(Rect bounds) const {
    // Truncation only shortens what is drawn; the cell holds the whole text.
    const Size text = textLayout(stringValue_, wraps() ? bounds.width() : 0).size();
    return Size{text.width + 2 * textInset(), text.height};
}

Size TextField::intrinsicContentSize() const {
    const double width =
        preferredMaxWidth_ > 0 ? preferredMaxWidth_ : std::numeric_limits<double>::infinity();
    Size size = cellSizeForBounds(Rect{{}, {width, 0}});
    // The bezel keeps room above and below the text.
    if (bezeled_) size.height += kBezelRoom;
    return size;
}

bool TextField::becomeFirstResponder() {
    platform::assertMainThread();
    Window* window = this->window();
    if (!editable_ || !window) return true;
    editing_ = true;
    // The one editor of the window measures and shows the text as the field does.
    window->fieldEditor().setFont(font_);
    window->fieldEditor().setString(stringValue_);
    return true;
}

bool TextField::resignFirstResponder() {
    platform::assertMainThread();
    if (editing_) {
        editing_ = false;
        changed_ = false;
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
    // Editing begins with the first change, not with the focus.
    if (!std::exchange(changed_, true)) textDidBeginEditing();
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

void TextField::drawFocusRingMask(GraphicsContext& context) const {
    const double radius = bezelCornerRadius();
    context.fill(BezierPath::roundedRect(bounds(), radius, radius));
}

double TextField::textTop() const {
    // A bezeled field centres its line, as the bezel's inset does.
    const double spare = bounds().height() - font_.lineHeight();
    return bezeled_ && !wraps() && spare > 0 ? spare / 2 : 0;
}

Rect TextField::textFrame() const {
    const Size size = layoutInBounds().size();
    const double room = bounds().width() - 2 * textInset();
    double x = textInset();
    if (alignment_ == TextAlignment::center) x += (room - size.width) / 2;
    if (alignment_ == TextAlignment::right) x += room - size.width;
    return Rect{{x, textTop()}, size};
}

void TextField::drawRect(GraphicsContext& context, Rect /*dirtyRect*/) {
    platform::assertMainThread();
    const Rect bounds = this->bounds();
    const double radius = bezelCornerRadius();
    if (drawsBackground_) {
        context.setFillColor(Color::textBackgroundColor());
        context.fill(BezierPath::roundedRect(bounds, radius, radius));
    }
    if (bezeled_) {
        context.setStrokeColor(Color::white(0.75, 1));
        context.stroke(BezierPath::roundedRect(bounds.insetBy(0.5, 0.5), radius, radius), 1);
    }
    const Color color = stringValue_.empty() ? Color::secondaryLabelColor() : textColor_;
    context.drawText(layoutInBounds(), Point{textInset(), textTop()},
                     bounds.width() - 2 * textInset(), alignment_, color);
}

}  // namespace zelvana::platform
