#include "platform/appkit/Button.hpp"

#include <algorithm>
#include <cmath>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

constexpr double kPadding = 8;
constexpr double kCheckboxSide = 14;

}  // namespace

std::shared_ptr<Button> Button::checkbox(std::string title, std::string action) {
    platform::assertMainThread();
    auto button = std::make_shared<Button>(std::move(title), std::move(action));
    button->setButtonType(ButtonType::checkbox);
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
    TextField measure(title_);
    measure.setFont(font());
    Size size = title_.empty() ? Size{0, font().lineHeight()} : measure.fittingSize();
    if (image_) {
        size.width += image_->size().width;
        size.height = std::max(size.height, image_->size().height);
    }
    const bool box = type_ == ButtonType::checkbox || type_ == ButtonType::radio;
    return Size{size.width + (box ? kCheckboxSide + 4 : 2 * kPadding), size.height};
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

void Button::drawRect(GraphicsContext& context, Rect /*dirtyRect*/) {
    platform::assertMainThread();
    const Rect b = bounds();
    const Font font = this->font();
    double textX = kPadding;
    if (type_ == ButtonType::checkbox || type_ == ButtonType::radio) {
        const Rect box{{0, (b.height() - kCheckboxSide) / 2}, {kCheckboxSide, kCheckboxSide}};
        context.setFillColor(state_ == State::on ? Color::controlAccentColor() : Color::white());
        context.fill(BezierPath::roundedRect(box, 3, 3));
        context.setStrokeColor(Color::grayColor());
        context.stroke(BezierPath::roundedRect(box, 3, 3), 1);
        textX = kCheckboxSide + 4;
    } else if (bezelStyle_ != BezelStyle::inline_) {
        context.setFillColor(pressed_ ? Color::lightGrayColor() : Color::white());
        context.fill(BezierPath::roundedRect(b, 5, 5));
        context.setStrokeColor(Color::grayColor());
        context.stroke(BezierPath::roundedRect(b, 5, 5), 1);
    }
    if (image_) {
        const Size size = image_->size();
        context.drawImage(*image_, Rect{{textX, (b.height() - size.height) / 2}, size},
                          Rect{{}, size}, CompositingOperation::sourceOver, enabled_ ? 1 : 0.5);
        textX += size.width;
    }
    context.drawText(title_, Point{textX, (b.height() - font.lineHeight()) / 2}, font,
                     enabled_ ? Color::labelColor() : Color::secondaryLabelColor());
}

}  // namespace zelvana::platform
