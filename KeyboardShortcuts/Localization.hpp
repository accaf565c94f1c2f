#pragma once

#include <string>

namespace zelvana::keyboardshortcuts {

// The package's text for `key` from its resource bundle
// ("KeyboardShortcuts_KeyboardShortcuts.bundle"); the key itself, logged
// once, when the bundle cannot be found. Main thread.
std::string localized(const std::string& key);

// `format` with its one "%@" replaced by `argument`.
std::string localizedFormat(const std::string& key, const std::string& argument);

}  // namespace zelvana::keyboardshortcuts
