#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/input/CarbonEvent.hpp"

namespace zelvana::platform {

// What a key translation is for.
enum class KeyAction : std::uint16_t {
    down = 0,     // kUCKeyActionDown
    up = 1,       // kUCKeyActionUp
    autoKey = 2,  // kUCKeyActionAutoKey
    display = 3,  // kUCKeyActionDisplay
};

struct KeyTranslation {
    OSStatus status = noErr;
    // UTF-8; may be empty on success (a modifier key gives no text).
    std::string characters;
};

// A keyboard layout: which character each key code gives. Two are known:
// U.S. (ANSI) and German (QWERTZ: Y and Z swapped, umlauts, its own
// punctuation). Main thread only.
class KeyboardLayout {
public:
    enum class Kind { us, german };

    static const KeyboardLayout& us();
    static const KeyboardLayout& german();

    Kind kind() const { return kind_; }
    // Such as "com.apple.keylayout.US".
    const std::string& identifier() const { return identifier_; }

    // The current ASCII-capable layout; null when tests took it away.
    static const KeyboardLayout* currentASCIICapable();
    // Selects the layout the user types with; null for none.
    static void setCurrent(const KeyboardLayout* layout);

    // Whether the layout hands out its key-layout data; tests can withhold it.
    static bool hasUnicodeKeyLayoutData();
    static void setUnicodeKeyLayoutDataAvailable(bool available);

    // Translates one key with the Carbon modifier state shifted right by 8
    // bits (shift 0x02, caps lock 0x04, option 0x08, control 0x10), as the
    // system's key translation takes it. Shift and caps lock choose the
    // shifted character (caps lock for letters only); option alone chooses
    // the U.S. layout's Option character (shift with option gives the
    // shifted one); control changes nothing here. A key without a character
    // gives an empty text.
    KeyTranslation translate(std::uint16_t keyCode, KeyAction action,
                             std::uint32_t modifierKeyState) const;
    // As above, with the layout's dead keys (the German layout's ´, ` and ^;
    // the U.S. layout's Option-E ´, Option-` `, Option-I ˆ, Option-U ¨ and
    // Option-N ˜) for the key actions down and auto-key: a dead key gives no text and
    // leaves its accent in `deadKeyState`; the next key gives the accented
    // letter when there is one, the accent alone for the space bar, else the
    // accent followed by its own text, and clears the state. The display
    // action never composes: a dead key shows its accent.
    KeyTranslation translate(std::uint16_t keyCode, KeyAction action,
                             std::uint32_t modifierKeyState, std::uint32_t& deadKeyState) const;
    // While set, every translation fails with this status.
    static void setTranslationFailure(std::optional<OSStatus> status);

    // The U.S. layout current, its data available, translations working.
    static void resetForTesting();

private:
    KeyboardLayout(Kind kind, std::string identifier)
        : kind_(kind), identifier_(std::move(identifier)) {}

    Kind kind_;
    std::string identifier_;
};

}  // namespace zelvana::platform
