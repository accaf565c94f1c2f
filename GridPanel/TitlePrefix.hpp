#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelvana::gridpanel {

// Type-to-search's test: the title, lower-cased, starts with the typed
// prefix, compared as user-perceived characters under canonical equivalence
// (a precomposed é matches e with a combining accent, but never a bare e).
// An empty prefix matches every title; no title matches nothing.
bool titleHasPrefix(const std::optional<std::string>& title, std::string_view prefix);

}  // namespace zelvana::gridpanel
