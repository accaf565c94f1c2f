#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvana::platform {
class Menu;
class MenuItem;
class StatusItem;
class Window;
}  // namespace zelvana::platform

namespace zelvana::driver {

// What a person sees of the simulated desktop, as the program's output lines.

// A name or title as the lines show it: written as a JSON string's content
// (`"` as `\"`, `\` as `\\`, a line feed as `\n`, U+0000 as `\u0000`), so a
// name can neither end its line early nor cut it short.
std::string lineText(const std::string& text);

// The space each display shows, one line per display, e.g.
// `display 1 "Built-in": space 2 of 3`.
std::vector<std::string> describeShownSpaces();

// Our item in the status bar; none before it is made.
platform::StatusItem* ourStatusItem();
// The grid panel's window while it is on screen.
platform::Window* openPanel();

// The open panel, a line per row: `panel: row 1: 1 (current) | 2 "Mail"
// (highlighted) | 3`, cells numbered in reading order, named by their title
// when they have one; `(empty)` for a place without a space.
std::vector<std::string> describePanel(platform::Window& panel);

// The menu's shown items, `menu: <title>`, with a check mark or a dash before
// a title whose item has one, `menu: ---` for a separator and the items of a
// submenu after its title, as `menu: Advanced > <title>`.
std::vector<std::string> describeMenu(const platform::Menu& menu);
// The items a person sees: not hidden, and an alternate only while its
// modifiers are held, in place of the item above it.
std::vector<std::shared_ptr<platform::MenuItem>> shownMenuItems(const platform::Menu& menu);
// An item's title after its check mark or dash.
std::string menuItemText(const platform::MenuItem& item);

// Whether a title on screen is the one a person typed, who types three dots
// for the ellipsis ("Settings..." for "Settings…").
bool titleReads(std::string_view shown, std::string_view typed);

}  // namespace zelvana::driver
