#include "Zelvana/Driver/KeyboardUser.hpp"

#include <algorithm>
#include <cstdint>
#include <ranges>
#include <vector>

#include "KeyboardShortcuts/Key.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/Keyboard.hpp"
#include "platform/input/KeyboardLayout.hpp"

namespace zelvana::driver {

namespace {

using platform::Modifier;

platform::Keyboard& keyboard() {
    return platform::Keyboard::shared();
}

bool isHeld(const ModifierKey& modifier) {
    return keyboard().modifierFlags().contains(modifier.flag);
}

// A key giving a character, and whether it needs shift.
struct Keystroke {
    std::uint16_t keyCode = 0;
    bool shifted = false;
};

// The layout's shift state for the key translation.
constexpr std::uint32_t kShiftState = 0x02;
// The keys of the main block, where every typed character is found.
constexpr std::uint16_t kLastMainKey = 50;

std::optional<Keystroke> keystrokeFor(const std::string& character) {
    const auto* layout = platform::KeyboardLayout::currentASCIICapable();
    if (!layout) return std::nullopt;
    for (const bool shifted : {false, true}) {
        for (std::uint16_t code = 0; code <= kLastMainKey; ++code) {
            const auto translation =
                layout->translate(code, platform::KeyAction::down, shifted ? kShiftState : 0);
            if (translation.status == platform::noErr && translation.characters == character) {
                return Keystroke{code, shifted};
            }
        }
    }
    return std::nullopt;
}

// The UTF-8 sequences of the text, one per character.
std::vector<std::string> characters(std::string_view text) {
    std::vector<std::string> result;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t length = 1;
        while (start + length < text.size() &&
               (static_cast<unsigned char>(text[start + length]) & 0xC0) == 0x80) {
            ++length;
        }
        result.emplace_back(text.substr(start, length));
        start += length;
    }
    return result;
}

std::string layoutName() {
    const auto* layout = platform::KeyboardLayout::currentASCIICapable();
    return layout ? layout->identifier() : "no";
}

const ModifierKey kShift{Modifier::shift,
                         static_cast<std::uint16_t>(keyboardshortcuts::Key::shift.rawValue)};

// What the keys sent reaches the application before the person goes on, as
// it would while they look at the screen.
Refusal settled(Refusal refusal = std::nullopt) {
    platform::RunLoop::main().turn();
    return refusal;
}

}  // namespace

Refusal KeyboardUser::down(const Chord& chord) {
    platform::assertMainThread();
    for (const auto& modifier : chord.modifiers) holdModifier(modifier);
    if (chord.key) keyboard().keyDown(*chord.key, keyboard().modifierFlags());
    return settled();
}

Refusal KeyboardUser::up(const Chord& chord) {
    platform::assertMainThread();
    const bool keyDown = !chord.key || keyboard().isKeyDown(*chord.key);
    const bool modifiersHeld = std::ranges::all_of(chord.modifiers, [](const ModifierKey& m) {
        return m.flag == Modifier::capsLock || isHeld(m);
    });
    if (!keyDown || !modifiersHeld) return "not every key of the chord is down";
    if (chord.key) keyboard().keyUp(*chord.key, keyboard().modifierFlags());
    for (const auto& modifier : chord.modifiers | std::views::reverse) releaseModifier(modifier);
    return settled();
}

Refusal KeyboardUser::press(const Chord& chord) {
    platform::assertMainThread();
    // Modifiers held by an earlier "down" stay held.
    std::vector<ModifierKey> pressed;
    for (const auto& modifier : chord.modifiers) {
        if (!isHeld(modifier) || modifier.flag == Modifier::capsLock) pressed.push_back(modifier);
        holdModifier(modifier);
    }
    if (chord.key) keyboard().press(*chord.key, keyboard().modifierFlags());
    for (const auto& modifier : pressed | std::views::reverse) releaseModifier(modifier);
    return settled();
}

Refusal KeyboardUser::type(std::string_view text) {
    platform::assertMainThread();
    std::vector<Keystroke> strokes;
    for (const auto& character : characters(text)) {
        const auto stroke = keystrokeFor(character);
        if (!stroke) return "no key types \"" + character + "\" on the " + layoutName() + " layout";
        strokes.push_back(*stroke);
    }
    for (const auto& stroke : strokes) {
        const bool addShift = stroke.shifted && !isHeld(kShift);
        if (addShift) holdModifier(kShift);
        keyboard().press(stroke.keyCode, keyboard().modifierFlags());
        if (addShift) releaseModifier(kShift);
    }
    return settled();
}

void KeyboardUser::holdModifier(const ModifierKey& modifier) {
    const auto flags = keyboard().modifierFlags();
    if (modifier.flag == Modifier::capsLock) {
        keyboard().flagsChanged(flags ^ modifier.flag, modifier.keyCode);
        return;
    }
    if (isHeld(modifier)) return;
    keyboard().flagsChanged(flags | modifier.flag, modifier.keyCode);
}

void KeyboardUser::releaseModifier(const ModifierKey& modifier) {
    // Caps lock stays as its down left it.
    if (modifier.flag == Modifier::capsLock || !isHeld(modifier)) return;
    keyboard().flagsChanged(keyboard().modifierFlags().without(modifier.flag), modifier.keyCode);
}

}  // namespace zelvana::driver
