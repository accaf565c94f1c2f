#pragma once

#include <cstdint>
#include <optional>
#include <set>

#include "platform/appkit/Event.hpp"

namespace zelvana::keyboardshortcuts {

// Keys that have no printable character, named by the character that AppKit
// reports for them (the function-key range starting at U+F700).
enum class SpecialKey : char32_t {
    upArrow = 0xF700,
    downArrow = 0xF701,
    leftArrow = 0xF702,
    rightArrow = 0xF703,
    f1 = 0xF704,
    f12 = 0xF70F,
    f20 = 0xF717,
    f35 = 0xF726,
    deleteForward = 0xF728,
    home = 0xF729,
    end = 0xF72B,
    pageUp = 0xF72C,
    pageDown = 0xF72D,
    help = 0xF746,
};

// F1 to F35: the keys that a recorder accepts without a modifier.
const std::set<SpecialKey>& functionKeysAllowedAlone();

// The special key of a key event: from its character when that lies in the
// function-key range, else from the key code for the keys a keyboard has.
std::optional<SpecialKey> specialKey(const platform::Event& event);

}  // namespace zelvana::keyboardshortcuts
