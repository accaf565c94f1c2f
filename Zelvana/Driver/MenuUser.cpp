#include "Zelvana/Driver/MenuUser.hpp"

#include <algorithm>
#include <memory>
#include <string_view>
#include <variant>

#include "Zelvana/Driver/DesktopReport.hpp"
#include "Zelvana/Driver/KeyNames.hpp"
#include "Zelvana/Driver/KeyboardUser.hpp"
#include "Zelvana/Driver/MouseUser.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/StatusBarButton.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::driver {

namespace {

constexpr std::string_view kSeparator = " > ";

// An item the menu holds back until its modifiers are held, named by `title`.
Refusal hiddenAlternate(const platform::Menu& menu, std::string_view title) {
    for (const auto& item : menu.itemArray()) {
        if (!item->isAlternate() || item->isHidden() || !titleReads(item->title(), title)) continue;
        const auto modifiers = modifierChord(item->keyEquivalentModifierMask());
        return "\"" + item->title() + "\" shows only while " + modifiers + " is held (\"down " +
               modifiers + "\" first)";
    }
    return std::nullopt;
}

// "Advanced > Show anchors": the path through submenus to the item, or why
// the menu shows none there; `whole` is the path as the line gave it.
std::variant<std::shared_ptr<platform::MenuItem>, std::string> itemAt(const platform::Menu& menu,
                                                                      std::string_view path,
                                                                      const std::string& whole) {
    const auto split = path.find(kSeparator);
    const auto title = path.substr(0, split);
    for (const auto& item : shownMenuItems(menu)) {
        if (item->isSeparatorItem() || !titleReads(item->title(), title)) continue;
        if (split == std::string_view::npos) return item;
        if (item->submenu()) {
            return itemAt(*item->submenu(), path.substr(split + kSeparator.size()), whole);
        }
    }
    if (auto refusal = hiddenAlternate(menu, title)) return *refusal;
    return "the menu has no item \"" + whole + "\"";
}

}  // namespace

Refusal MenuUser::open() {
    platform::assertMainThread();
    auto* item = ourStatusItem();
    if (!item || !item->button()) return "the status item is not in the menu bar";
    if (!item->isVisible() || !item->window()) return "the status item is hidden";
    if (item->menu() && item->menu()->isTracking()) return "the menu is open already";
    return mouse_.clickMiddleOf(item->window()->frame());
}

Refusal MenuUser::pick(const std::string& title) {
    platform::assertMainThread();
    auto* menu = platform::Menu::trackingMenu();
    if (!menu) {
        if (auto refusal = open()) return refusal;
        menu = platform::Menu::trackingMenu();
    }
    if (!menu) return "the status item opens no menu";
    const auto found = itemAt(*menu, title, title);
    const auto* reached = std::get_if<std::shared_ptr<platform::MenuItem>>(&found);
    const auto item = reached ? *reached : nullptr;
    // A submenu's item is chosen as the submenu would choose it.
    const bool shownHere = item && menu->frame() && item->menu() == menu;
    if (!shownHere || !item->isEnabled() || item->submenu()) menu->endTracking();
    if (!item) return std::get<std::string>(found);
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
    return mouse_.clickMiddleOf(*place);
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
