#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelvana::gridpanel {

// Type-to-search's test: the title starts with the typed prefix, both case
// folded, compared as user-perceived characters under canonical equivalence
// (a precomposed é matches e with a combining accent, but never a bare e).
// An empty prefix matches every title; no title matches nothing.
bool titleHasPrefix(const std::optional<std::string>& title, std::string_view prefix);

// The text in lower case (any language's letters, not only ASCII).
std::string lowercased(std::string_view text);

}  // namespace zelvana::gridpanel
