#pragma once

#include <string>

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::driver {

class MouseUser;

// The person at a menu: the status item's, or the one a pop-up button
// opened. Main thread.
class MenuUser {
public:
    explicit MenuUser(MouseUser& mouse) : mouse_(mouse) {}

    // Clicks the status item, which opens its menu.
    Refusal open();
    // Picks the item of that title (a submenu's as "Advanced > <title>")
    // from the open menu, opening the status item's menu first when none is
    // open; the menu closes, then the item acts. An item of a menu shown at
    // a place is clicked there. A title the menu lacks, or a disabled item,
    // closes the menu and is refused.
    Refusal pick(const std::string& title);

private:
    MouseUser& mouse_;
};

}  // namespace zelvana::driver
