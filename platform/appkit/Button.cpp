#include "platform/appkit/Button.hpp"

#include <algorithm>
#include <cmath>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/TextLayout.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

constexpr double kPadding = 8;
constexpr double kCheckboxSide = 14;
constexpr double kBoxTitleGap = 4;
// The regular push button's bezel, as the system draws it.
constexpr double kPushButtonHeight = 22;
constexpr double kBezelRadius = 5;
constexpr double kRecessedRadius = 4;

}  // namespace

std::shared_ptr<Button> Button::checkbox(std::string title, std::string action) {
    platform::assertMainThread();
    auto button = std::make_shared<Button>(std::move(title), std::move(action));
    button->setButtonType(ButtonType::checkbox);
    return button;
}

std::shared_ptr<Button> Button::buttonWithImage(Image image, WeakRef<ActionTarget> target,
                                                std::string action) {
    platform::assertMainThread();
    auto button = std::make_shared<Button>("", std::move(action));
    button->setImage(std::move(image));
    button->setTarget(std::move(target));
    button->setFrameSize(button->intrinsicContentSize());
    return button;
}

Font Button::font() const {
    switch (controlSize_) {
        case ControlSize::small:
            return Font::systemFont(11);
        case ControlSize::mini:
            return Font::systemFont(9);
        case ControlSize::large:
        case ControlSize::regular:
            break;
    }
    return Font::systemFont(13);
}

bool Button::performClick() {
    platform::assertMainThread();
    if (!enabled_) return false;
    if (type_ == ButtonType::checkbox || type_ == ButtonType::toggle) {
        state_ = state_ == State::on ? State::off : State::on;
    } else if (type_ == ButtonType::radio) {
        state_ = State::on;
    }
    if (stateBinding_) stateBinding_(state_);
    return sendAction();
}

bool Button::sendAction() {
    if (callback_) {
        // A copy: the callback may replace it, or let go of this button.
        const Callback callback = callback_;
        callback(*this);
        return true;
    }
    if (action_.empty()) return false;
    if (ActionTarget* target = target_.get()) return target->performAction(action_, this);
    Window* window = this->window();
    return window && window->sendAction(action_, this);
}

Size Button::intrinsicContentSize() const {
    if (image_ && title_.empty() && !bordered_ && !isBox()) return image_->size();
    const TextLayout title(title_, font());
    Size size{title_.empty() ? 0 : title.size().width, font().lineHeight()};
    if (image_) {
        size.width += image_->size().width;
        size.height = std::max(size.height, image_->size().height);
    }
    if (isBox()) return Size{size.width + kCheckboxSide + kBoxTitleGap, size.height};
    if (bordered_ && bezelStyle_ == BezelStyle::rounded) {
        size.height = std::max(size.height, kPushButtonHeight);
    }
    return Size{size.width + 2 * kPadding, size.height};
}

void Button::setCell(std::unique_ptr<ButtonCell> cell) {
    cell_ = std::move(cell);
    if (cell_) cell_->setControlView(this);
}

void Button::mouseDown(const Event& event) {
    platform::assertMainThread();
    if (cell_ && cell_->trackMouse(event, bounds(), *this, true)) return;
    pressed_ = true;
}

void Button::mouseUp(const Event& event) {
    platform::assertMainThread();
    if (!std::exchange(pressed_, false)) return;
    const Point point = convertPointFromView(event.locationInWindow, nullptr);
    if (bounds().contains(point)) performClick();
}

void Button::drawBezel(GraphicsContext& context, Rect rect) const {
    const auto shape = BezierPath::roundedRect(rect.insetBy(0.5, 0.5), kBezelRadius, kBezelRadius);
    context.setFillColor(pressed_ ? Color::white(0.85, 1) : Color::white());
    context.fill(shape);
    context.setStrokeColor(Color::white(0, 0.22));
    context.stroke(shape, 0.5);
}

void Button::drawBox(GraphicsContext& context) const {
    const Rect box{{0.5, (bounds().height() - kCheckboxSide) / 2 + 0.5},
                   {kCheckboxSide - 1, kCheckboxSide - 1}};
    const bool radio = type_ == ButtonType::radio;
    const double radius = radio ? box.width() / 2 : 3;
    const auto shape = BezierPath::roundedRect(box, radius, radius);
    const bool on = state_ == State::on;
    context.setFillColor(on ? Color::controlAccentColor() : Color::white());
    context.fill(shape);
    context.setStrokeColor(on ? Color::controlAccentColor() : Color::white(0, 0.3));
    context.stroke(shape, 0.5);
    if (!on) return;
    context.setStrokeColor(Color::white());
    if (radio) {
        context.setFillColor(Color::white());
        context.fill(BezierPath::oval(box.insetBy(4.5, 4.5)));
        return;
    }
    BezierPath check;
    check.moveTo({box.minX() + 3, box.minY() + 6.5});
    check.lineTo({box.minX() + 5.5, box.minY() + 9.5});
    check.lineTo({box.maxX() - 3, box.minY() + 3});
    context.stroke(check, 1.75);
}

void Button::drawTitle(GraphicsContext& context, Rect rect, TextAlignment alignment) const {
    const Font font = this->font();
    const double imageWidth = image_ ? image_->size().width : 0;
    const TextLayout title(title_, font, LineBreakMode::byTruncatingTail,
                           std::max(1.0, rect.width() - imageWidth));
    const double used = imageWidth + (title_.empty() ? 0 : title.size().width);
    double x = rect.minX();
    if (alignment == TextAlignment::center) x += std::max(0.0, (rect.width() - used) / 2);
    const Color color = enabled_ ? Color::labelColor() : Color::secondaryLabelColor();
    if (image_) {
        const Size size = image_->size();
        Image shown = *image_;
        double opacity = enabled_ ? 1 : 0.5;
        if (shown.isTemplate()) {
            shown.fill(color.withAlpha(1), Rect{{}, size}, CompositingOperation::sourceAtop);
            opacity *= color.alpha();
        }
        context.drawImage(shown, Rect{{x, rect.minY() + (rect.height() - size.height) / 2}, size},
                          Rect{{}, size}, CompositingOperation::sourceOver, opacity);
        x += size.width;
    }
    if (title_.empty()) return;
    context.drawText(title, Point{x, rect.minY() + (rect.height() - font.lineHeight()) / 2},
                     title.size().width, TextAlignment::left, color);
}

void Button::drawRect(GraphicsContext& context, Rect /*dirtyRect*/) {
    platform::assertMainThread();
    const Rect b = bounds();
    if (isBox()) {
        drawBox(context);
        const double textX = kCheckboxSide + kBoxTitleGap;
        drawTitle(context, Rect::make(textX, 0, b.width() - textX, b.height()),
                  TextAlignment::left);
        return;
    }
    if (bordered_ && bezelStyle_ == BezelStyle::inline_) {
        // The inline bezel: a grey capsule under the title.
        const double radius = b.height() / 2;
        context.setFillColor(Color::white(0, pressed_ ? 0.18 : 0.09));
        context.fill(BezierPath::roundedRect(b, radius, radius));
    } else if (bordered_ && bezelStyle_ == BezelStyle::recessed) {
        // The recessed bezel: a faint band sunk into the window, darker while pressed.
        context.setFillColor(Color::white(0, pressed_ ? 0.16 : 0.06));
        context.fill(BezierPath::roundedRect(b, kRecessedRadius, kRecessedRadius));
    } else if (bordered_) {
        drawBezel(context, b);
    }
    const double inset = bordered_ ? kPadding : 0;
    drawTitle(context, Rect::make(inset, 0, b.width() - 2 * inset, b.height()),
              TextAlignment::center);
}

}  // namespace zelvana::platform
