#pragma once

#include <memory>

#include "GridPanel/EntrySearchButtonCell.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::gridpanel {

// A search button with a menu: a press held for 300 ms opens the menu at the
// button's bottom-right corner, a shorter click sends the action; with
// longPress off the menu opens at once. Its cell does the timing. Without a
// menu it is a plain button. Nothing in the panel uses it. Main thread only.
class EntrySearchButton : public platform::Button, private platform::MenuDelegate {
public:
    // Its cell is an image cell of its image.
    explicit EntrySearchButton(platform::Rect frame = {});
    ~EntrySearchButton() override;

    const std::shared_ptr<platform::Menu>& menu() const { return menu_; }
    void setMenu(std::shared_ptr<platform::Menu> menu) { menu_ = std::move(menu); }
    // The cell's.
    bool longPress() const;
    void setLongPress(bool longPress);

    bool isHighlighted() const { return cell()->isHighlighted(); }
    // Asks the cell to draw highlighted or not, on the next turn of the main queue.
    void highlight(bool flag);

    void mouseDown(const platform::Event& event) override;
    void mouseUp(const platform::Event& event) override;

private:
    void menuDidClose(platform::Menu& menu) override;
    EntrySearchButtonCell* entryCell() const;

    std::shared_ptr<platform::Menu> menu_;
    platform::WeakFactory<EntrySearchButton> weak_{this};
};

}  // namespace zelvana::gridpanel
