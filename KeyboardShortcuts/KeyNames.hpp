#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace zelvana::keyboardshortcuts {

// Fixed display texts of keys whose character the layout cannot show
// (return, arrows, F-keys, keypad keys, ...), by Carbon key code.
const std::map<std::int64_t, std::string>& specialKeyNames();

// The menu key-equivalent characters of space and F1 to F20.
const std::map<std::int64_t, std::string>& functionKeyEquivalents();

// The key's display text: its fixed name, else the current ASCII-capable
// layout's character; none when the layout cannot tell. Not cached, as the
// layout can change.
std::optional<std::string> keyToCharacter(std::int64_t keyCode);

// The text for a menu item's key equivalent: a single displayed character as
// is, otherwise the function-key character, otherwise empty.
std::string keyEquivalentString(std::int64_t keyCode);

// The character a menu uses as key equivalent for a key that has no printable
// one of its own (space, return, tab, arrows, F-keys, ...); none for others.
std::optional<std::string> menuKeyEquivalentCharacter(std::int64_t keyCode);

// User-perceived characters: combining marks and variation selectors do not
// start a new one.
std::size_t perceivedCharacterCount(const std::string& utf8);

}  // namespace zelvana::keyboardshortcuts
