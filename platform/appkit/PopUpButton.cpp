#include "platform/appkit/PopUpButton.hpp"

#include <algorithm>

#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

void PopUpButton::addItem(std::string title, std::int64_t tag) {
    items_.push_back(Item{std::move(title), tag});
    // The first item shows until another is chosen.
    if (!selected_) selected_ = 0;
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
        return false;
    }
    selected_ = static_cast<std::size_t>(found - items_.begin());
    return true;
}

bool PopUpButton::chooseItemAtIndex(std::size_t index) {
    assertMainThread();
    if (index >= items_.size() || !isEnabled()) return false;
    selected_ = index;
    return performClick();
}

}  // namespace zelvana::platform
