#include "Zelvana/Driver/MenuUser.hpp"

#include <algorithm>
#include <memory>

#include "Zelvana/Driver/DesktopReport.hpp"
#include "Zelvana/Driver/KeyboardUser.hpp"
#include "Zelvana/Driver/MouseUser.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/StatusBarButton.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/simulator/Desktop.hpp"

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
    if (!item->isVisible() || !item->window()) return "the status item is hidden";
    if (item->menu() && item->menu()->isTracking()) return "the menu is open already";
    const auto bounds = platform::Desktop::shared().boundsFromFrame(item->window()->frame());
    return mouse_.click({bounds.minX() + bounds.width() / 2, bounds.minY() + bounds.height() / 2});
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
    // A submenu's item is chosen as the submenu would choose it.
    const bool shownHere = item && menu->frame() && item->menu() == menu;
    if (!shownHere || !item->isEnabled() || item->submenu()) menu->endTracking();
    if (!item) return "the menu has no item \"" + title + "\"";
    if (!item->isEnabled()) return "\"" + title + "\" is disabled";
    if (item->submenu()) {
        return "\"" + title + "\" opens a submenu: pick one of its items, as \"" + title +
               " > <title>\"";
    }
    if (!shownHere) {
        item->perform();
        return std::nullopt;
    }
    const auto place = menu->frameOfItem(*item);
    if (!place) return chooseWithKeys(*menu, *item);
    const auto bounds = platform::Desktop::shared().boundsFromFrame(*place);
    return mouse_.click({bounds.minX() + bounds.width() / 2, bounds.minY() + bounds.height() / 2});
}

Refusal MenuUser::chooseWithKeys(platform::Menu& menu, const platform::MenuItem& item) {
    const auto shown = menu.shownItems({});
    const auto indexOf = [&](const platform::MenuItem* wanted) {
        return std::ranges::find_if(shown, [&](const auto& i) { return i.get() == wanted; }) -
               shown.begin();
    };
    const bool below =
        !menu.highlightedItem() || indexOf(menu.highlightedItem().get()) < indexOf(&item);
    const Chord arrow{{}, below ? platform::kVK_DownArrow : platform::kVK_UpArrow};
    for (std::size_t step = 0; step < shown.size() && menu.highlightedItem().get() != &item;
         ++step) {
        if (auto refusal = keyboard_.press(arrow)) return refusal;
    }
    if (menu.highlightedItem().get() != &item) {
        menu.endTracking();
        return "the arrow keys do not reach \"" + item.title() + "\"";
    }
    return keyboard_.press(Chord{{}, platform::kVK_Return});
}

}  // namespace zelvana::driver
