#pragma once

#include <string>

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::driver {

// The person at the status item's menu. Main thread.
class MenuUser {
public:
    // Clicks the status item, which opens its menu.
    Refusal open();
    // Picks the item of that title (a submenu's as "Advanced > <title>"),
    // opening the menu first; the menu closes, then the item acts. A title
    // the menu lacks, or a disabled item, closes the menu and is refused.
    Refusal pick(const std::string& title);
};

}  // namespace zelvana::driver
