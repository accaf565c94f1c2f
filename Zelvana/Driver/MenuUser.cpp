#include "Zelvana/Driver/MenuUser.hpp"

#include <memory>

#include "Zelvana/Driver/DesktopReport.hpp"
#include "Zelvana/Driver/MouseUser.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/StatusBarButton.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/desktop/Desktop.hpp"

namespace zelvana::driver {

namespace {

// "Advanced > Show anchors": the path through submenus to the item.
std::shared_ptr<platform::MenuItem> itemAt(const platform::Menu& menu, const std::string& path) {
    static const std::string separator = " > ";
    const auto split = path.find(separator);
    for (const auto& item : shownMenuItems(menu)) {
        if (item->isSeparatorItem()) continue;
        if (split == std::string::npos && item->title() == path) return item;
        if (split != std::string::npos && item->title() == path.substr(0, split) &&
            item->submenu()) {
            return itemAt(*item->submenu(), path.substr(split + separator.size()));
        }
    }
    return nullptr;
}

}  // namespace

Refusal MenuUser::open() {
    platform::assertMainThread();
    auto* item = ourStatusItem();
    if (!item || !item->button()) return "the status item is not in the menu bar";
    if (!item->isVisible()) return "the status item is hidden";
    if (item->menu() && item->menu()->isTracking()) return "the menu is open already";
    item->button()->performClick();
    return std::nullopt;
}

Refusal MenuUser::pick(const std::string& title) {
    platform::assertMainThread();
    auto* menu = platform::Menu::trackingMenu();
    if (!menu) {
        if (auto refusal = open()) return refusal;
        menu = platform::Menu::trackingMenu();
    }
    if (!menu) return "the status item opens no menu";
    const auto item = itemAt(*menu, title);
    const auto place = item ? menu->frameOfItem(*item) : std::nullopt;
    if (!place || !item->isEnabled() || item->submenu()) menu->endTracking();
    if (!item) return "the menu has no item \"" + title + "\"";
    if (!item->isEnabled()) return "\"" + title + "\" is disabled";
    if (item->submenu()) {
        return "\"" + title + "\" opens a submenu: pick one of its items, as \"" + title +
               " > <title>\"";
    }
    if (!place) {
        item->perform();
        return std::nullopt;
    }
    const auto bounds = platform::Desktop::shared().boundsFromFrame(*place);
    return mouse_.click({bounds.minX() + bounds.width() / 2, bounds.minY() + bounds.height() / 2});
}

}  // namespace zelvana::driver
