// The hub's status title and the space items of the status menu.
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/StatusItem.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

namespace {

// U+20E3 COMBINING ENCLOSING KEYCAP.
constexpr const char* kKeycap = "\xE2\x83\xA3";

bool isShown(const Space& space) {
    const auto& anchor = space.anchor();
    return anchor && anchor->isOnActiveSpace() && anchor->isActive();
}

// The reading-order number of the current space's cell, counted from 1 over
// every cell of every row.
std::optional<std::size_t> currentCellNumber(const SpaceGrid::Rows& grid) {
    std::size_t number = 0;
    for (const auto& row : grid) {
        for (const auto& space : row) {
            ++number;
            if (space && isShown(*space)) return number;
        }
    }
    return std::nullopt;
}

// 1 to 9 show as keycaps, 10 and above as plain digits.
std::string statusTitleFor(std::size_t number) {
    return std::to_string(number) + (number <= 9 ? kKeycap : "");
}

}  // namespace

void ZelvanaManager::updateStatusTitle(const std::optional<Rows>& grid) {
    platform::assertMainThread();
    const auto& item = StatusItem::shared().nsStatusItem();
    auto* button = item ? item->button() : nullptr;
    if (!button) return;
    const auto number = GlobalDefaults::menuBarSpaceNumber().isUserEnabled()
                            ? currentCellNumber(grid ? *grid : spaceGrid_->mainScreenGrid())
                            : std::nullopt;
    if (!number) {
        button->setTitle("");
        button->setImage(platform::Image::named(StatusItem::statusImageName));
        return;
    }
    button->setImage(std::nullopt);
    button->setTitle(statusTitleFor(*number));
}

void ZelvanaManager::updateSpaceMenuItems() {
    platform::assertMainThread();
    const auto grid = spaceGrid_->mainScreenGrid();
    const auto& menu = StatusItem::shared().statusMenu();
    if (!menu) return;
    const auto items = menu->itemArray();
    for (const auto& item : items) {
        if (std::any_cast<std::shared_ptr<Space>>(&item->representedObject()))
            menu->removeItem(item);
    }
    std::size_t count = 0;
    std::size_t position = 0;
    for (const auto& row : grid) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            const auto& space = row[c];
            std::string title = std::to_string(count + c + 1);
            if (space->title()) title += " " + *space->title();
            auto item = std::make_shared<platform::MenuItem>(title, "switchToSpace:", "");
            item->setRepresentedObject(space);
            item->setTarget(weakRef());
            if (isShown(*space)) item->setState(platform::ControlState::on);
            menu->insertItem(item, position + c);
        }
        count += row.size();
        position += row.size();
        auto separator = platform::MenuItem::separatorItem();
        // So that the next build takes the separator away with the items.
        separator->setRepresentedObject(std::make_shared<Space>());
        menu->insertItem(separator, position);
        ++position;
    }
}

void ZelvanaManager::switchToSpace(const platform::MenuItem& sender) {
    platform::assertMainThread();
    const auto* space = std::any_cast<std::shared_ptr<Space>>(&sender.representedObject());
    if (space && *space && (*space)->id()) switchToSpaceWithId(*(*space)->id());
}

}  // namespace zelvana::core
