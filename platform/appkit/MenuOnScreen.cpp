// A menu shown at a place: its frame on the screen, its rows as scrolled,
// and the pointer and keys that highlight, scroll and choose them.
#include <algorithm>
#include <cctype>
#include <iterator>
#include <ranges>

#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/TextLayout.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::platform {

namespace {

double rowHeight(const MenuItem& item) {
    return item.isSeparatorItem() ? Menu::separatorHeight : Menu::itemHeight;
}

double contentHeight(const std::vector<std::shared_ptr<MenuItem>>& items) {
    double height = 2 * Menu::verticalMargin;
    for (const auto& item : items) height += rowHeight(*item);
    return height;
}

double textWidth(const std::string& text) {
    return text.empty() ? 0 : TextLayout(text, Menu::font()).size().width;
}

// A column of titles beside a column of key equivalents, each as wide as
// its widest entry.
double naturalWidth(const std::vector<std::shared_ptr<MenuItem>>& items) {
    double titles = 0;
    double trailing = 0;
    for (const auto& item : items) {
        if (item->isSeparatorItem()) continue;
        titles = std::max(titles, textWidth(item->title()));
        trailing = std::max(trailing, textWidth(Menu::trailingText(*item)));
    }
    return Menu::gutterWidth + titles + (trailing > 0 ? Menu::trailingGap + trailing : 0) +
           Menu::rightPadding;
}

// Moved as little as it takes to lie within `area`.
Rect keptWithin(Rect frame, Rect area) {
    if (frame.maxY() > area.maxY()) frame.origin.y = area.maxY() - frame.height();
    if (frame.minY() < area.minY()) frame.origin.y = area.minY();
    if (frame.maxX() > area.maxX()) frame.origin.x = area.maxX() - frame.width();
    if (frame.minX() < area.minX()) frame.origin.x = area.minX();
    return frame;
}

// The visible frame of the screen holding the point, if one does.
std::optional<Rect> visibleFrameAt(Point point) {
    for (const auto& screen : Screen::screens()) {
        if (screen.frame().contains(point)) return screen.visibleFrame();
    }
    return std::nullopt;
}

bool isPress(EventType type) {
    return type == EventType::leftMouseDown || type == EventType::rightMouseDown ||
           type == EventType::otherMouseDown;
}

bool isRelease(EventType type) {
    return type == EventType::leftMouseUp || type == EventType::rightMouseUp ||
           type == EventType::otherMouseUp;
}

bool isChoosable(const MenuItem& item) {
    return !item.isSeparatorItem() && item.isEnabled();
}

}  // namespace

Font Menu::font() {
    return Font::systemFont(13);
}

std::string Menu::trailingText(const MenuItem& item) {
    if (item.submenu()) return "›";
    if (item.keyEquivalent().empty()) return "";
    const auto mask = item.keyEquivalentModifierMask();
    std::string text;
    if (mask.contains(Modifier::control)) text += "⌃";
    if (mask.contains(Modifier::option)) text += "⌥";
    if (mask.contains(Modifier::shift)) text += "⇧";
    if (mask.contains(Modifier::command)) text += "⌘";
    std::string key = item.keyEquivalent();
    std::ranges::transform(key, key.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text + key;
}

std::vector<std::shared_ptr<MenuItem>> Menu::shownItems(ModifierFlags held) const {
    std::vector<std::shared_ptr<MenuItem>> shown;
    for (const auto& item : items_) {
        if (item->isHidden()) continue;
        if (item->isAlternate()) {
            const auto mask = item->keyEquivalentModifierMask();
            if (mask.isEmpty() || !held.contains(mask)) continue;
            // It stands in for the item above it.
            if (!shown.empty() && !shown.back()->isAlternate()) shown.pop_back();
        }
        shown.push_back(item);
    }
    return shown;
}

void Menu::popUpMenuPositioningItem(const MenuItem* item, Point location, double minimumWidth) {
    platform::assertMainThread();
    // Opened first: the delegate may fill the menu as it opens.
    beginTracking();
    if (!tracking_) return;
    const auto items = shownItems({});
    double above = verticalMargin;
    for (const auto& shown : items) {
        if (shown.get() == item) break;
        above += rowHeight(*shown);
    }
    if (item && std::ranges::none_of(items, [&](const auto& i) { return i.get() == item; })) {
        above = verticalMargin;
    }
    const double height = contentHeight(items);
    const auto area = visibleFrameAt(location);
    const double wanted = std::max(minimumWidth, naturalWidth(items));
    const double width = area ? std::min(wanted, area->width()) : wanted;
    // Screen coordinates grow upwards: the rows above the item lie higher.
    Rect frame = Rect::make(location.x, location.y + above - height, width, height);
    double offset = 0;
    if (area && height > area->height()) {
        // The screen's height, scrolled so that the item stays where it was asked.
        frame = Rect::make(location.x, area->minY(), width, area->height());
        offset = std::clamp(above - (area->maxY() - location.y), 0.0, height - area->height());
    }
    if (area) frame = keptWithin(frame, *area);
    showAt(frame, offset);
}

void Menu::popUpBelow(Rect button) {
    platform::assertMainThread();
    beginTracking();
    if (!tracking_) return;
    const auto items = shownItems({});
    double width = std::max(smallestWidth, naturalWidth(items));
    double height = contentHeight(items);
    double x = button.minX();
    if (const auto area = visibleFrameAt({button.midX(), button.minY() - 1})) {
        const Rect room = area->insetBy(screenMargin, 0);
        width = std::min(width, room.width());
        height = std::min(height, button.minY() - area->minY());
        x = std::max(room.minX(), std::min(x, room.maxX() - width));
    }
    showAt(Rect::make(x, button.minY() - height, width, height), 0);
}

void Menu::showAt(Rect frame, double scrollOffset) {
    frame_ = frame;
    scrollOffset_ = std::clamp(scrollOffset, 0.0, maximumScrollOffset());
    highlighted_.reset();
    pointerEngaged_ = false;
}

double Menu::maximumScrollOffset() const {
    // From the items as they are now: they may change while the menu is open.
    return frame_ ? std::max(0.0, contentHeight(shownItems({})) - frame_->height()) : 0;
}

bool Menu::canScroll(ScrollDirection direction) const {
    return direction == ScrollDirection::up ? scrollOffset_ > 0
                                            : scrollOffset_ < maximumScrollOffset();
}

Rect Menu::rowArea() const {
    if (!frame_) return Rect{};
    const double top = canScroll(ScrollDirection::up) ? scrollArrowHeight : 0;
    const double bottom = canScroll(ScrollDirection::down) ? scrollArrowHeight : 0;
    return Rect::make(0, top, frame_->width(), frame_->height() - top - bottom);
}

std::vector<Menu::Row> Menu::rows() const {
    std::vector<Row> rows;
    const double width = frame_ ? frame_->width() : naturalWidth(shownItems({}));
    double top = verticalMargin - scrollOffset_;
    for (const auto& item : shownItems({})) {
        const double height = rowHeight(*item);
        rows.push_back({item, Rect::make(0, top, width, height)});
        top += height;
    }
    return rows;
}

std::optional<Rect> Menu::frameOfItem(const MenuItem& item) const {
    if (!frame_) return std::nullopt;
    const Rect area = rowArea();
    for (const auto& row : rows()) {
        if (row.item.get() != &item) continue;
        if (!area.contains(row.rect)) return std::nullopt;
        return Rect::make(frame_->minX() + row.rect.minX(), frame_->maxY() - row.rect.maxY(),
                          row.rect.width(), row.rect.height());
    }
    return std::nullopt;
}

void Menu::scrollTo(double offset) {
    scrollOffset_ = std::clamp(offset, 0.0, maximumScrollOffset());
}

void Menu::scrollWheel(double deltaY) {
    platform::assertMainThread();
    if (tracking_) scrollTo(scrollOffset_ - deltaY);
}

void Menu::scrollContinuously(std::optional<ScrollDirection> direction) {
    if (direction == scrolling_) return;
    scrolling_ = direction;
    scrollTimer_.cancel();
    if (!direction) return;
    scrollTimer_ = Timer::scheduled(scrollInterval, Repeats::yes,
                                    [weak = weak_.ref(), way = *direction](Timer& timer) {
                                        if (Menu* menu = weak.get()) menu->scrollRow(way, timer);
                                    });
}

void Menu::scrollRow(ScrollDirection direction, Timer& timer) {
    scrollTo(scrollOffset_ + (direction == ScrollDirection::up ? -itemHeight : itemHeight));
    if (canScroll(direction)) return;
    timer.invalidate();
    // Stopped, so that the arrow coming back under the pointer starts it again.
    scrolling_.reset();
    // The arrow went: the resting pointer now lies on an item.
    if (pointer_) highlightAt(*pointer_);
}

void Menu::highlightAt(Point location) {
    highlighted_.reset();
    if (!frame_ || !frame_->contains(location)) return;
    // In the menu's own coordinates.
    const Point point{location.x - frame_->minX(), frame_->maxY() - location.y};
    if (!rowArea().contains(point)) return;
    for (const auto& row : rows()) {
        if (row.rect.contains(point) && isChoosable(*row.item)) highlighted_ = row.item;
    }
}

void Menu::mouseEvent(EventType type, Point location) {
    platform::assertMainThread();
    if (!tracking_) return;
    const bool inside = frame_ && frame_->contains(location);
    if (type == EventType::mouseMoved || type == EventType::leftMouseDragged) {
        if (type == EventType::leftMouseDragged) pointerEngaged_ = true;
        pointer_ = location;
        std::optional<ScrollDirection> arrow;
        if (inside) {
            const double fromTop = frame_->maxY() - location.y;
            const Rect area = rowArea();
            if (fromTop < area.minY()) arrow = ScrollDirection::up;
            if (fromTop >= area.maxY()) arrow = ScrollDirection::down;
        }
        scrollContinuously(arrow);
        highlightAt(location);
        return;
    }
    if (isPress(type)) {
        if (!inside) return endTracking();
        pointerEngaged_ = true;
        return;
    }
    if (!isRelease(type) || !std::exchange(pointerEngaged_, true)) return;
    highlightAt(location);
    if (!highlighted_ && inside) return;  // on a separator, an arrow or a disabled item
    choose(highlighted_);
}

void Menu::choose(std::shared_ptr<MenuItem> item) {
    // Held: the delegate may drop the menu as it closes.
    endTracking();
    if (item) item->perform();
}

void Menu::moveHighlight(ScrollDirection direction) {
    const auto items = shownItems({});
    // Nothing highlighted: it enters at the first item going down, the last going up.
    const auto at = std::ranges::find(items, highlighted_);
    std::shared_ptr<MenuItem> next;
    if (direction == ScrollDirection::down) {
        const auto from = at == items.end() ? items.begin() : std::next(at);
        const auto found = std::find_if(from, items.end(), [](auto& i) { return isChoosable(*i); });
        if (found != items.end()) next = *found;
    } else {
        const auto before = std::ranges::subrange(items.begin(), at) | std::views::reverse;
        const auto found = std::ranges::find_if(before, [](auto& i) { return isChoosable(*i); });
        if (found != before.end()) next = *found;
    }
    if (!next) return;  // at the end already: the highlight stays
    highlighted_ = next;
    revealHighlight();
}

void Menu::revealHighlight() {
    if (!frame_ || !highlighted_) return;
    // Scrolling shows or hides an arrow, which moves the row area: two passes settle it.
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& row : rows()) {
            if (row.item != highlighted_) continue;
            const Rect area = rowArea();
            if (row.rect.minY() < area.minY()) {
                scrollTo(scrollOffset_ - (area.minY() - row.rect.minY()));
            } else if (row.rect.maxY() > area.maxY()) {
                scrollTo(scrollOffset_ + (row.rect.maxY() - area.maxY()));
            }
        }
    }
}

bool Menu::handleKey(const Event& event) {
    switch (event.keyCode) {
        case kVK_DownArrow:
            moveHighlight(ScrollDirection::down);
            return false;
        case kVK_UpArrow:
            moveHighlight(ScrollDirection::up);
            return false;
        case kVK_Return:
        case kVK_ANSI_KeypadEnter:
        case kVK_Space:
            // A submenu's item opens nothing here: the menu stays.
            if (!highlighted_ || highlighted_->submenu()) return false;
            choose(highlighted_);
            return true;
        default:
            return false;
    }
}

}  // namespace zelvana::platform
