#include "platform/appkit/StatusBar.hpp"

#include <algorithm>

#include "platform/appkit/StatusItem.hpp"
#include "platform/appkit/WindowServer.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

StatusBar* StatusBar::system() {
    assertMainThread();
    // Never destroyed: items held by other long-lived objects leave it last.
    static auto* const bar = new StatusBar;
    return WindowServer::current() ? bar : nullptr;
}

std::shared_ptr<StatusItem> StatusBar::statusItem(double length) {
    assertMainThread();
    std::shared_ptr<StatusItem> item(new StatusItem(*this, length));
    items_.push_back(item);
    relayout();
    return item;
}

void StatusBar::removeStatusItem(const StatusItem& item) {
    platform::assertMainThread();
    std::erase_if(items_, [&item](const std::weak_ptr<StatusItem>& entry) {
        const auto held = entry.lock();
        return !held || held.get() == &item;
    });
    relayout();
}

void StatusBar::relayout() {
    platform::assertMainThread();
    for (const auto& item : items()) item->placeWindow();
}

std::vector<std::shared_ptr<StatusItem>> StatusBar::items() const {
    std::vector<std::shared_ptr<StatusItem>> items;
    for (const auto& entry : items_) {
        if (auto item = entry.lock()) items.push_back(std::move(item));
    }
    return items;
}

std::optional<Rect> StatusBar::buttonFrame(const StatusItem& item, const Screen& screen) const {
    const double height = screen.menuBarHeight();
    if (height <= 0 || !item.isVisible()) return std::nullopt;
    double right = screen.frame().maxX() - rightMargin;
    for (const auto& entry : items_) {
        const auto other = entry.lock();
        if (!other || !other->isVisible()) continue;
        const double width = other->buttonSize().width;
        if (other.get() == &item) {
            return Rect::make(right - width, screen.frame().maxY() - height, width, height);
        }
        right -= width + itemSpacing;
    }
    return std::nullopt;
}

}  // namespace zelvana::platform
