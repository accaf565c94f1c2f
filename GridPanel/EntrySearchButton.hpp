#pragma once

#include <memory>
#include <optional>

#include "platform/appkit/Button.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::gridpanel {

// A search button with a menu: a press held for 300 ms opens the menu at the
// button's bottom-right corner, a shorter click sends the action; with
// longPress off the menu opens at once. Without a menu it is a plain button.
// Nothing in the panel uses it. Main thread only.
class EntrySearchButton : public platform::Button {
public:
    static constexpr double longPressDelay = 0.3;

    using Button::Button;

    const std::shared_ptr<platform::Menu>& menu() const { return menu_; }
    void setMenu(std::shared_ptr<platform::Menu> menu) { menu_ = std::move(menu); }
    bool longPress() const { return longPress_; }
    void setLongPress(bool longPress) { longPress_ = longPress; }

    bool isHighlighted() const { return highlighted_; }
    // Draws the button highlighted or not, on the next turn of the main queue.
    void highlight(bool flag);
    // Where the menu last opened, in window coordinates.
    std::optional<platform::Point> menuLocation() const { return menuLocation_; }

    void mouseDown(const platform::Event& event) override;
    void mouseUp(const platform::Event& event) override;

private:
    void popUpMenu(platform::Point location);

    std::shared_ptr<platform::Menu> menu_;
    bool longPress_ = true;
    std::shared_ptr<platform::WorkItem> workItem_;
    bool highlighted_ = false;
    std::optional<platform::Point> menuLocation_;
    platform::Subscription menuClosed_;
    platform::WeakFactory<EntrySearchButton> weak_{this};
};

}  // namespace zelvana::gridpanel
