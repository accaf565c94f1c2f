#include "platform/appkit/PopUpButton.hpp"

#include <algorithm>

#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

void PopUpButton::addItem(std::string title, std::int64_t tag) {
    items_.push_back(Item{std::move(title), tag});
    // The first item shows until another is chosen.
    if (!selected_) selected_ = 0;
    showSelection();
}

const PopUpButton::Item* PopUpButton::selectedItem() const {
    return selected_ ? &items_[*selected_] : nullptr;
}

std::int64_t PopUpButton::selectedTag() const {
    const Item* item = selectedItem();
    return item ? item->tag : -1;
}

bool PopUpButton::selectItemWithTag(std::int64_t tag) {
    const auto found = std::ranges::find(items_, tag, &Item::tag);
    if (found == items_.end()) {
        selected_.reset();
        showSelection();
        return false;
    }
    selected_ = static_cast<std::size_t>(found - items_.begin());
    showSelection();
    return true;
}

bool PopUpButton::chooseItemAtIndex(std::size_t index) {
    assertMainThread();
    if (index >= items_.size() || !isEnabled()) return false;
    selected_ = index;
    showSelection();
    return sendAction();
}

void PopUpButton::showSelection() {
    const Item* item = selectedItem();
    setTitle(item ? item->title : "");
}

Menu* PopUpButton::openMenu() const {
    return menu_ && menu_->isTracking() ? menu_.get() : nullptr;
}

bool PopUpButton::performClick() {
    assertMainThread();
    Window* window = this->window();
    if (!isEnabled() || !window) return false;
    menu_ = std::make_shared<Menu>();
    for (std::size_t index = 0; index < items_.size(); ++index) {
        auto item = menu_->addItem(items_[index].title, "", "");
        item->setState(selected_ == index ? ControlState::on : ControlState::off);
        item->setActionHandler([weak = weak_.ref(), index](MenuItem&) {
            if (PopUpButton* self = weak.get()) self->chooseItemAtIndex(index);
        });
    }
    const Rect onScreen = window->convertRectToScreen(convertRectToView(bounds(), nullptr));
    const MenuItem* selected = selected_ ? menu_->itemArray()[*selected_].get() : nullptr;
    // The selected item's row lies over the button, its title over the title.
    const Point location{onScreen.minX(),
                         onScreen.maxY() - (onScreen.height() - Menu::itemHeight) / 2};
    menu_->popUpMenuPositioningItem(selected, location, onScreen.width());
    return true;
}

void PopUpButton::mouseDown(const Event& /*event*/) {
    assertMainThread();
    performClick();
}

void PopUpButton::mouseUp(const Event& /*event*/) {
    // The open menu takes the release.
}

}  // namespace zelvana::platform
