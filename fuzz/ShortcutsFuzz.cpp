// Stored shortcuts of both hot-key registries: the named shortcuts' and the
// modifier trigger's. A shortcut that reads writes a text that reads as the
// same shortcut.
#include "KeyboardShortcuts/Shortcut.hpp"
#include "fuzz/FuzzSupport.hpp"
#include "input/Shortcut.hpp"

using namespace zelvana;

namespace {
template <typename Shortcut>
void checkRoundTrip(const std::string& text) {
    const auto shortcut = Shortcut::fromJSON(text);
    if (!shortcut) return;
    const std::string stored = shortcut->toJSON();
    const auto reread = Shortcut::fromJSON(stored);
    fuzz::require(reread.has_value(), "a stored shortcut reads");
    fuzz::require(*reread == *shortcut, "a stored shortcut reads as the same shortcut");
    fuzz::require(reread->toJSON() == stored, "storing a shortcut is a fixed point");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::text(data, size);
    checkRoundTrip<keyboardshortcuts::Shortcut>(text);
    checkRoundTrip<input::Shortcut>(text);
    return 0;
}
