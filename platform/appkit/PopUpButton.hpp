#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Button.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

class Menu;

// A button that shows one of its items and lets the user choose another: a
// click opens its menu beside it, the selected item checked and lying over
// the button; choosing an item selects it and sends the action. Each item
// carries a tag. Main thread only.
class PopUpButton : public Button {
public:
    struct Item {
        std::string title;
        std::int64_t tag = 0;
        bool operator==(const Item&) const = default;
    };

    void addItem(std::string title, std::int64_t tag);
    const std::vector<Item>& items() const { return items_; }

    // None when no item is selected.
    std::optional<std::size_t> indexOfSelectedItem() const { return selected_; }
    const Item* selectedItem() const;
    // The selected item's tag, -1 when none is selected.
    std::int64_t selectedTag() const;
    // Selects the first item with the tag; with none, nothing is selected and
    // the answer is false.
    bool selectItemWithTag(std::int64_t tag);

    // The user choosing the item at `index`: false, and nothing sent, when
    // there is no such item or the button is disabled.
    bool chooseItemAtIndex(std::size_t index);

    // A bezel with the selected item's title and the arrows at its end.
    void drawRect(GraphicsContext& context, Rect dirtyRect) override;
    // The menu while it is open (made afresh each time), else null.
    Menu* openMenu() const;
    // Opens the menu, as a click does; false when disabled or off screen.
    bool performClick() override;
    void mouseDown(const Event& event) override;
    void mouseUp(const Event& event) override;

private:
    // The title shows the selected item.
    void showSelection();

    std::vector<Item> items_;
    std::optional<std::size_t> selected_;
    std::shared_ptr<Menu> menu_;
    WeakFactory<PopUpButton> weak_{this};
};

}  // namespace zelvana::platform
