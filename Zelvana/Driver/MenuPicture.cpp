#include "Zelvana/Driver/MenuPicture.hpp"

#include <algorithm>

#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::driver {

namespace {

using platform::Color;
using platform::Menu;
using platform::Rect;
using platform::TextLayout;

// The highlight of an item: a rounded band a little inside the menu's sides.
constexpr double kHighlightInset = 5;
constexpr double kHighlightRadius = 4;
// A scroll arrow's triangle.
constexpr double kArrowWidth = 10;
constexpr double kArrowHeight = 6;

}  // namespace

platform::Size MenuPicture::size() const {
    return menu_.frame() ? menu_.frame()->size : platform::Size{};
}

void MenuPicture::draw(platform::GraphicsContext& context, platform::Point origin) const {
    platform::assertMainThread();
    const Rect area{origin, size()};
    const auto shape = platform::BezierPath::roundedRect(area, cornerRadius, cornerRadius);
    // Opaque: nothing beneath a menu shows through it.
    context.setFillColor(Color::white(0.95, 1));
    context.fill(shape);
    context.saveGraphicsState();
    context.clip(shape);
    drawRows(context, area);
    drawArrows(context, area);
    context.restoreGraphicsState();
    context.setStrokeColor(Color::white(0, 0.18));
    context.stroke(shape, 0.5);
}

void MenuPicture::drawRows(platform::GraphicsContext& context, Rect area) const {
    const Rect shown = menu_.rowArea().offsetBy(area.minX(), area.minY());
    context.saveGraphicsState();
    context.clip(platform::BezierPath::rect(shown));
    const platform::Font font = Menu::font();
    for (const auto& row : menu_.rows()) {
        const Rect rect = row.rect.offsetBy(area.minX(), area.minY());
        if (rect.maxY() <= shown.minY() || rect.minY() >= shown.maxY()) continue;
        const auto& item = *row.item;
        if (item.isSeparatorItem()) {
            context.setFillColor(Color::white(0, 0.1));
            context.fillRect(Rect::make(rect.minX() + 10, rect.minY() + rect.height() / 2 - 0.5,
                                        rect.width() - 20, 1));
            continue;
        }
        const bool highlighted = row.item == menu_.highlightedItem();
        if (highlighted) {
            context.setFillColor(Color::controlAccentColor());
            context.fill(platform::BezierPath::roundedRect(rect.insetBy(kHighlightInset, 0),
                                                           kHighlightRadius, kHighlightRadius));
        }
        const Color color = highlighted        ? Color::white()
                            : item.isEnabled() ? Color::labelColor()
                                               : Color::white(0, 0.25);
        const double top = rect.minY() + (rect.height() - font.lineHeight()) / 2;
        if (item.state() == platform::ControlState::on) {
            context.drawText("✓", {rect.minX() + 7, top}, font, color);
        } else if (item.state() == platform::ControlState::mixed) {
            context.drawText("–", {rect.minX() + 8, top}, font, color);
        }
        double room = rect.width() - Menu::gutterWidth - Menu::rightPadding;
        if (const std::string end = Menu::trailingText(item); !end.empty()) {
            const TextLayout trailing(end, font);
            room -= Menu::trailingGap + trailing.size().width;
            const Color endColor =
                highlighted || !item.isEnabled() ? color : Color::secondaryLabelColor();
            context.drawText(trailing,
                             {rect.maxX() - Menu::rightPadding - trailing.size().width, top},
                             trailing.size().width, platform::TextAlignment::left, endColor);
        }
        const TextLayout title(item.title(), font, platform::LineBreakMode::byTruncatingMiddle,
                               std::max(room, 1.0));
        context.drawText(title, {rect.minX() + Menu::gutterWidth, top}, std::max(room, 1.0),
                         platform::TextAlignment::left, color);
    }
    context.restoreGraphicsState();
}

void MenuPicture::drawArrows(platform::GraphicsContext& context, Rect area) const {
    using Direction = Menu::ScrollDirection;
    for (const Direction direction : {Direction::up, Direction::down}) {
        if (!menu_.canScroll(direction)) continue;
        const bool up = direction == Direction::up;
        const double middle = area.minY() + (up ? Menu::scrollArrowHeight / 2
                                                : area.height() - Menu::scrollArrowHeight / 2);
        const double tip = middle + (up ? -kArrowHeight / 2 : kArrowHeight / 2);
        const double base = middle + (up ? kArrowHeight / 2 : -kArrowHeight / 2);
        const double centre = area.minX() + area.width() / 2;
        platform::BezierPath arrow;
        arrow.moveTo({centre, tip});
        arrow.lineTo({centre + kArrowWidth / 2, base});
        arrow.lineTo({centre - kArrowWidth / 2, base});
        arrow.closePath();
        context.setFillColor(Color::secondaryLabelColor());
        context.fill(arrow);
    }
}

}  // namespace zelvana::driver
