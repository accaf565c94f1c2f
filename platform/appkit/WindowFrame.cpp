// How a window draws its own parts around its content: the background and,
// for a titled window, the rounded corners, the title bar, its buttons and
// its title, as the system draws them in the light appearance.

#include "platform/appkit/Application.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/TitleBar.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

constexpr double kButtonDiameter = 12;
// The close button's centre from the left edge, and the next ones' step.
constexpr double kFirstButtonCentre = 14;
constexpr double kButtonStep = 20;
// Room the title leaves for the buttons on either side.
constexpr double kTitleMargin = 76;

const std::array<Color, 3>& buttonColors() {
    static const std::array<Color, 3> colors{Color::rgb(1.0, 0.373, 0.341),
                                             Color::rgb(0.996, 0.737, 0.180),
                                             Color::rgb(0.157, 0.784, 0.251)};
    return colors;
}

TitleBar::Button buttonLook(const Window& window, Window::ButtonType type, Window::Style style) {
    if (window.isStandardWindowButtonHidden(type)) return TitleBar::Button::hidden;
    return window.styleMask().contains(style) ? TitleBar::Button::enabled
                                              : TitleBar::Button::disabled;
}

}  // namespace

void TitleBar::draw(GraphicsContext& context, Rect bounds) const {
    const auto shape = BezierPath::roundedRect(bounds, cornerRadius, cornerRadius);
    if (bar == Bar::opaque) {
        context.saveGraphicsState();
        context.clip(shape);
        context.setFillColor(Color::white(0.91, 1));
        context.fillRect(Rect::make(0, 0, bounds.width(), height));
        context.setFillColor(Color::white(0, 0.1));
        context.fillRect(Rect::make(0, height - 1, bounds.width(), 1));
        context.restoreGraphicsState();
    }
    double centre = kFirstButtonCentre;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == Button::hidden) continue;
        const bool lit = state == State::active && buttons[i] == Button::enabled;
        const auto circle = BezierPath::oval(Rect::make(centre - kButtonDiameter / 2,
                                                        (height - kButtonDiameter) / 2,
                                                        kButtonDiameter, kButtonDiameter));
        context.setFillColor(lit ? buttonColors()[i] : Color::white(0.82, 1));
        context.fill(circle);
        context.setStrokeColor(Color::white(0, 0.12));
        context.stroke(circle, 0.5);
        centre += kButtonStep;
    }
    if (!title.empty()) {
        const Font font = Font::boldSystemFont(13);
        const double room = bounds.width() - 2 * kTitleMargin;
        const TextLayout text(title, font, LineBreakMode::byTruncatingTail, room);
        context.drawText(
            text, Point{kTitleMargin, (height - font.lineHeight()) / 2}, room,
            TextAlignment::center,
            state == State::active ? Color::labelColor() : Color::secondaryLabelColor());
    }
    context.setStrokeColor(Color::white(0, 0.2));
    context.stroke(BezierPath::roundedRect(bounds.insetBy(0.25, 0.25), cornerRadius, cornerRadius),
                   0.5);
}

void Window::drawBackground(GraphicsContext& context, Rect bounds) const {
    platform::assertMainThread();
    if (!backgroundColor_) return;
    const double radius = styleMask_.contains(Style::titled) ? TitleBar::cornerRadius : 0;
    context.setFillColor(*backgroundColor_);
    context.fill(BezierPath::roundedRect(bounds, radius, radius));
}

void Window::drawTitleBar(GraphicsContext& context, Rect bounds) const {
    platform::assertMainThread();
    if (!styleMask_.contains(Style::titled)) return;
    TitleBar bar;
    bar.title = titleVisibility_ == TitleVisibility::visible ? title_ : "";
    // A panel or popover may hold the keys while this stays the main window.
    const bool looksActive = key_ || (main_ && Application::shared().isActive());
    bar.state = looksActive ? TitleBar::State::active : TitleBar::State::inactive;
    bar.bar = titlebarTransparent_ ? TitleBar::Bar::transparent : TitleBar::Bar::opaque;
    bar.buttons = {buttonLook(*this, ButtonType::close, Style::closable),
                   buttonLook(*this, ButtonType::miniaturize, Style::miniaturizable),
                   buttonLook(*this, ButtonType::zoom, Style::resizable)};
    bar.draw(context, bounds);
}

}  // namespace zelvana::platform
