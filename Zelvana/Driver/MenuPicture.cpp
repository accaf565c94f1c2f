#include "Zelvana/Driver/MenuPicture.hpp"

#include <algorithm>

#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::driver {

namespace {

using platform::Color;
using platform::Rect;
using platform::TextLayout;

// Rows as tall and as far down as the menu that takes the clicks lays them out.
constexpr double kRowHeight = platform::Menu::itemHeight;
constexpr double kSeparatorHeight = platform::Menu::separatorHeight;
constexpr double kVerticalPadding = platform::Menu::verticalMargin;
// From the left: the check mark's gutter; on the right, the room after the
// key equivalent or arrow.
constexpr double kGutter = 22;
constexpr double kRightPadding = 12;
constexpr double kKeyGap = 24;

platform::Font menuFont() {
    return platform::Font::systemFont(13);
}

// The key equivalent as the menu shows it: modifier symbols, then the key.
std::string keyEquivalentText(const platform::MenuItem& item) {
    if (item.keyEquivalent().empty()) return "";
    using platform::Modifier;
    const auto mask = item.keyEquivalentModifierMask();
    std::string text;
    if (mask.contains(Modifier::control)) text += "⌃";
    if (mask.contains(Modifier::option)) text += "⌥";
    if (mask.contains(Modifier::shift)) text += "⇧";
    if (mask.contains(Modifier::command)) text += "⌘";
    std::string key = item.keyEquivalent();
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text + key;
}

// What stands at the right end of an item: its key equivalent, or the arrow
// of its submenu.
std::string trailingText(const platform::MenuItem& item) {
    return item.submenu() ? "›" : keyEquivalentText(item);
}

double rowHeight(const platform::MenuItem& item) {
    return item.isSeparatorItem() ? kSeparatorHeight : kRowHeight;
}

}  // namespace

MenuPicture::MenuPicture(std::vector<std::shared_ptr<platform::MenuItem>> items, double widest,
                         double narrowest)
    : items_(std::move(items)) {
    double titles = 0;
    double trailing = 0;
    double height = 2 * kVerticalPadding;
    for (const auto& item : items_) {
        height += rowHeight(*item);
        if (item->isSeparatorItem()) continue;
        titles = std::max(titles, TextLayout(item->title(), menuFont()).size().width);
        const std::string end = trailingText(*item);
        if (!end.empty()) trailing = std::max(trailing, TextLayout(end, menuFont()).size().width);
    }
    const double extra = kGutter + (trailing > 0 ? kKeyGap + trailing : 0) + kRightPadding;
    const double width = std::clamp(titles + extra, narrowest, std::max(narrowest, widest));
    titleRoom_ = width - extra;
    size_ = {width, height};
}

void MenuPicture::draw(platform::GraphicsContext& context, platform::Point origin) const {
    platform::assertMainThread();
    const Rect area{origin, size_};
    const auto shape = platform::BezierPath::roundedRect(area, cornerRadius, cornerRadius);
    context.setFillColor(Color::white(0.95, 0.97));
    context.fill(shape);
    context.setStrokeColor(Color::white(0, 0.18));
    context.stroke(shape, 0.5);
    const platform::Font font = menuFont();
    double y = area.minY() + kVerticalPadding;
    for (const auto& item : items_) {
        if (item->isSeparatorItem()) {
            context.setFillColor(Color::white(0, 0.1));
            context.fillRect(
                Rect::make(area.minX() + 10, y + kSeparatorHeight / 2 - 0.5, area.width() - 20, 1));
            y += kSeparatorHeight;
            continue;
        }
        const Color color = item->isEnabled() ? Color::labelColor() : Color::white(0, 0.25);
        const double top = y + (kRowHeight - font.lineHeight()) / 2;
        if (item->state() == platform::ControlState::on) {
            context.drawText("✓", {area.minX() + 7, top}, font, color);
        } else if (item->state() == platform::ControlState::mixed) {
            context.drawText("–", {area.minX() + 8, top}, font, color);
        }
        const TextLayout title(item->title(), font, platform::LineBreakMode::byTruncatingMiddle,
                               titleRoom_);
        context.drawText(title, {area.minX() + kGutter, top}, titleRoom_,
                         platform::TextAlignment::left, color);
        if (const std::string end = trailingText(*item); !end.empty()) {
            const TextLayout trailing(end, font);
            context.drawText(trailing, {area.maxX() - kRightPadding - trailing.size().width, top},
                             trailing.size().width, platform::TextAlignment::left,
                             item->isEnabled() ? Color::secondaryLabelColor() : color);
        }
        y += kRowHeight;
    }
}

}  // namespace zelvana::driver
