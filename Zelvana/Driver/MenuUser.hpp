#pragma once

#include <string>

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::platform {
class Menu;
class MenuItem;
}  // namespace zelvana::platform

namespace zelvana::driver {

class KeyboardUser;
class MouseUser;

// The person at a menu: the status item's, or the one a pop-up button
// opened. Main thread.
class MenuUser {
public:
    MenuUser(MouseUser& mouse, KeyboardUser& keyboard) : mouse_(mouse), keyboard_(keyboard) {}

    // Clicks the status item, which opens its menu.
    Refusal open();
    // Picks the item of that title (a submenu's as "Advanced > <title>")
    // from the open menu, opening the status item's menu first when none is
    // open; the menu closes, then the item acts. An item of a menu shown at
    // a place is clicked there, or, scrolled out of sight, reached with the
    // arrow keys and chosen with Return. A title the menu lacks, or a
    // disabled item, closes the menu and is refused.
    Refusal pick(const std::string& title);

private:
    Refusal chooseWithKeys(platform::Menu& menu, const platform::MenuItem& item);

    MouseUser& mouse_;
    KeyboardUser& keyboard_;
};

}  // namespace zelvana::driver
