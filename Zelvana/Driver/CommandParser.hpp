#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::driver {

// Nothing (a blank line or a comment), a command, or why it was refused.
using ParsedLine = std::variant<std::monostate, Command, std::string>;

// The one parser of script and terminal lines. It checks the words alone;
// what depends on the desktop (a display, a menu item, a setting) is checked
// when the command runs.
ParsedLine parseCommandLine(std::string_view line);

// "ctrl+opt+right": known keys, each once, at most one that is no modifier.
std::variant<Chord, std::string> parseChord(std::string_view text);

}  // namespace zelvana::driver
