#include "platform/appkit/Menu.hpp"

#include <algorithm>

#include "platform/appkit/Application.hpp"
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
    highlighted_.reset();
    scrollTimer_.cancel();
    scrolling_.reset();
    pointer_.reset();
    scrollOffset_ = 0;
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
        const Event received = *event;
        received_.push_back(std::move(*event));
        // The delegate may drop the menu as it closes: touch nothing after.
        if (closesMenu(received)) {
            endTracking();
            return;
        }
        if (received.type == EventType::keyDown && handleKey(received)) return;
    }
}

}  // namespace zelvana::platform
