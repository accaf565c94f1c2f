#include "platform/appkit/Menu.hpp"

#include <algorithm>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::platform {

namespace {
Menu* gTrackingMenu = nullptr;
}  // namespace

Menu::Menu(std::string title) : title_(std::move(title)) {}

Menu::~Menu() {
    // A menu going away tells no one: its delegate may be going too.
    delegate_ = nullptr;
    if (tracking_) endTracking();
    for (const auto& item : items_) {
        item->menu_ = nullptr;
        if (item->submenu_) item->submenu_->supermenu_ = nullptr;
    }
}

void Menu::addItem(std::shared_ptr<MenuItem> item) {
    platform::assertMainThread();
    insertItem(std::move(item), items_.size());
}

std::shared_ptr<MenuItem> Menu::addItem(std::string title, std::string action,
                                        std::string keyEquivalent) {
    platform::assertMainThread();
    auto item =
        std::make_shared<MenuItem>(std::move(title), std::move(action), std::move(keyEquivalent));
    addItem(item);
    return item;
}

void Menu::insertItem(std::shared_ptr<MenuItem> item, std::size_t index) {
    platform::assertMainThread();
    if (!item) return;
    // An item belongs to one menu at a time.
    if (item->menu_) item->menu_->removeItem(item);
    item->menu_ = this;
    if (item->submenu_) item->submenu_->supermenu_ = this;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(index, items_.size())),
                  std::move(item));
}

void Menu::removeItem(const std::shared_ptr<MenuItem>& item) {
    platform::assertMainThread();
    auto found = std::find(items_.begin(), items_.end(), item);
    if (found == items_.end()) return;
    item->menu_ = nullptr;
    if (item->submenu_) item->submenu_->supermenu_ = nullptr;
    items_.erase(found);
}

void Menu::removeAllItems() {
    platform::assertMainThread();
    while (!items_.empty()) removeItem(items_.back());
}

std::shared_ptr<MenuItem> Menu::itemWithTitle(const std::string& title) const {
    for (const auto& item : items_) {
        if (item->title() == title) return item;
    }
    return nullptr;
}

bool Menu::performKeyEquivalent(const Event& event) {
    platform::assertMainThread();
    // Owned copies: an action may rebuild this menu while it runs.
    const auto items = items_;
    for (const auto& item : items) {
        if (item->matchesKeyEquivalent(event)) {
            item->perform();
            return true;
        }
        const auto submenu = item->submenu_;
        if (submenu && submenu->performKeyEquivalent(event)) return true;
    }
    return false;
}

void Menu::beginTracking() {
    platform::assertMainThread();
    if (tracking_) return;
    if (gTrackingMenu) gTrackingMenu->endTracking();
    if (delegate_) delegate_->menuWillOpen(*this);
    tracking_ = true;
    gTrackingMenu = this;
    NotificationCenter::defaultCenter().post(kMenuDidBeginTrackingNotification, this);
    RunLoop::main().enterMode(kEventTrackingRunLoopMode);
}

void Menu::popUpContextMenu(Menu& menu, const Event& event, View* /*view*/) {
    platform::assertMainThread();
    menu.contextMenuLocation_ = event.locationInWindow;
    menu.beginTracking();
}

void Menu::endTracking() {
    platform::assertMainThread();
    if (!tracking_) return;
    RunLoop::main().exitMode();
    tracking_ = false;
    frame_.reset();
    if (gTrackingMenu == this) gTrackingMenu = nullptr;
    NotificationCenter::defaultCenter().post(kMenuDidEndTrackingNotification, this);
    if (delegate_) delegate_->menuDidClose(*this);
}

bool Menu::isTracking() const {
    return tracking_;
}

Menu* Menu::trackingMenu() {
    platform::assertMainThread();
    return gTrackingMenu;
}

namespace {

// Escape dismisses an open menu, and so does a click: the menu has no window
// of its own here, so any click the application gets lands outside it.
bool closesMenu(const Event& event) {
    switch (event.type) {
        case EventType::keyDown:
            return event.keyCode == kVK_Escape;
        case EventType::leftMouseDown:
        case EventType::rightMouseDown:
        case EventType::otherMouseDown:
            return true;
        default:
            return false;
    }
}

}  // namespace

void Menu::receivePendingEvents() {
    platform::assertMainThread();
    auto& app = Application::shared();
    while (auto event =
               app.nextEvent(EventMask::any, std::nullopt, kEventTrackingRunLoopMode, true)) {
        const bool closes = closesMenu(*event);
        received_.push_back(std::move(*event));
        if (closes) {
            // The delegate may drop the menu as it closes: touch nothing after.
            endTracking();
            return;
        }
    }
}

}  // namespace zelvana::platform

namespace zelvana::platform {

namespace {

// Room beside the titles: the check mark's column on the left, a margin on
// the right.
constexpr double kTitleInsets = 40;

double rowHeight(const MenuItem& item) {
    return item.isSeparatorItem() ? Menu::separatorHeight : Menu::itemHeight;
}

double widestTitle(const std::vector<std::shared_ptr<MenuItem>>& items) {
    double widest = 0;
    for (const auto& item : items) {
        widest = std::max(widest, TextField(item->title()).fittingSize().width);
    }
    return widest + kTitleInsets;
}

// Moved up or down as little as it takes to lie within `area`.
Rect keptWithin(Rect frame, Rect area) {
    if (frame.maxY() > area.maxY()) frame.origin.y = area.maxY() - frame.height();
    if (frame.minY() < area.minY()) frame.origin.y = area.minY();
    if (frame.maxX() > area.maxX()) frame.origin.x = area.maxX() - frame.width();
    if (frame.minX() < area.minX()) frame.origin.x = area.minX();
    return frame;
}

bool isPress(EventType type) {
    return type == EventType::leftMouseDown || type == EventType::rightMouseDown ||
           type == EventType::otherMouseDown;
}

bool isRelease(EventType type) {
    return type == EventType::leftMouseUp || type == EventType::rightMouseUp ||
           type == EventType::otherMouseUp;
}

}  // namespace

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
    const auto items = shownItems({});
    double above = verticalMargin;
    for (const auto& shown : items) {
        if (shown.get() == item) break;
        above += rowHeight(*shown);
    }
    if (item && std::ranges::none_of(items, [&](const auto& i) { return i.get() == item; })) {
        above = verticalMargin;
    }
    double height = 2 * verticalMargin;
    for (const auto& shown : items) height += rowHeight(*shown);
    const double width = std::max(minimumWidth, widestTitle(items));
    // Screen coordinates grow upwards: the rows above the item lie higher.
    Rect frame = Rect::make(location.x, location.y + above - height, width, height);
    for (const auto& screen : Screen::screens()) {
        if (screen.frame().contains(location)) frame = keptWithin(frame, screen.visibleFrame());
    }
    beginTracking();
    if (!tracking_) return;
    frame_ = frame;
    pointerEngaged_ = false;
}

std::optional<Rect> Menu::frameOfItem(const MenuItem& item) const {
    if (!frame_) return std::nullopt;
    double top = frame_->maxY() - verticalMargin;
    for (const auto& shown : shownItems({})) {
        const double height = rowHeight(*shown);
        if (shown.get() == &item)
            return Rect::make(frame_->minX(), top - height, frame_->width(), height);
        top -= height;
    }
    return std::nullopt;
}

void Menu::mouseEvent(EventType type, Point location) {
    platform::assertMainThread();
    if (!tracking_) return;
    const bool inside = frame_ && frame_->contains(location);
    if (isPress(type)) {
        if (!inside) return endTracking();
        pointerEngaged_ = true;
        return;
    }
    if (type == EventType::leftMouseDragged) {
        pointerEngaged_ = true;
        return;
    }
    if (!isRelease(type) || !std::exchange(pointerEngaged_, true)) return;
    std::shared_ptr<MenuItem> chosen;
    for (const auto& item : shownItems({})) {
        const auto itemFrame = frameOfItem(*item);
        if (itemFrame && itemFrame->contains(location) && !item->isSeparatorItem() &&
            item->isEnabled()) {
            chosen = item;
        }
    }
    if (!chosen && inside) return;  // on a separator or a disabled item: stays open
    endTracking();
    if (chosen) chosen->perform();
}

}  // namespace zelvana::platform
