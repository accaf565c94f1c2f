#pragma once

#include <string>

namespace zelvana::keyboardshortcuts {

// The package's text for `key` from its resource bundle
// ("KeyboardShortcuts_KeyboardShortcuts.bundle"), or the key itself when the
// bundle has no text for it. A missing bundle stops the process. Main thread.
std::string localized(const std::string& key);

// `format` with its one "%@" replaced by `argument`.
std::string localizedFormat(const std::string& key, const std::string& argument);

}  // namespace zelvana::keyboardshortcuts
