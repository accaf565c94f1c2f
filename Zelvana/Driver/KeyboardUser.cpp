#include "Zelvana/Driver/KeyboardUser.hpp"

#include <algorithm>
#include <cstdint>
#include <ranges>
#include <vector>

#include "KeyboardShortcuts/Key.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/simulator/Keyboard.hpp"

namespace zelvana::driver {

namespace {

using platform::Modifier;

platform::Keyboard& keyboard() {
    return platform::Keyboard::shared();
}

bool isHeld(const ModifierKey& modifier) {
    return keyboard().modifierFlags().contains(modifier.flag);
}

// A key and the modifiers it is pressed with.
struct Keystroke {
    std::uint16_t keyCode = 0;
    bool shifted = false;
    bool option = false;
};

// The layout's shift and option states for the key translation.
constexpr std::uint32_t kShiftState = 0x02;
constexpr std::uint32_t kOptionState = 0x08;
// The keys of the main block, where every typed character is found.
constexpr std::uint16_t kLastMainKey = 50;

// Every key of the main block with the modifiers a person tries, plainest first.
std::vector<Keystroke> mainKeystrokes() {
    std::vector<Keystroke> strokes;
    for (const bool option : {false, true}) {
        for (const bool shifted : {false, true}) {
            for (std::uint16_t code = 0; code <= kLastMainKey; ++code) {
                strokes.push_back({code, shifted, option});
            }
        }
    }
    return strokes;
}

// What the stroke gives after the dead keys that left `deadKeyState`.
std::string typedBy(const platform::KeyboardLayout& layout, const Keystroke& stroke,
                    std::uint32_t& deadKeyState) {
    const std::uint32_t state =
        (stroke.shifted ? kShiftState : 0) | (stroke.option ? kOptionState : 0);
    const auto translation =
        layout.translate(stroke.keyCode, platform::KeyAction::down, state, deadKeyState);
    return translation.status == platform::noErr ? translation.characters : "";
}

// The keys that give the character: one key, or a dead key and the letter
// it composes with, as a person types é on a Mac.
std::optional<std::vector<Keystroke>> keystrokesFor(const std::string& character) {
    const auto* layout = platform::KeyboardLayout::currentASCIICapable();
    if (!layout) return std::nullopt;
    static const auto strokes = mainKeystrokes();
    std::vector<std::pair<Keystroke, std::uint32_t>> deadKeys;
    for (const auto& stroke : strokes) {
        std::uint32_t deadKeyState = 0;
        if (typedBy(*layout, stroke, deadKeyState) == character) return {{stroke}};
        if (deadKeyState != 0) deadKeys.emplace_back(stroke, deadKeyState);
    }
    for (const auto& [deadKey, accent] : deadKeys) {
        for (const auto& stroke : strokes) {
            std::uint32_t deadKeyState = accent;
            if (typedBy(*layout, stroke, deadKeyState) == character) return {{deadKey, stroke}};
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
const ModifierKey kOption{Modifier::option,
                          static_cast<std::uint16_t>(keyboardshortcuts::Key::option.rawValue)};

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
        const auto keys = keystrokesFor(character);
        if (!keys) return "no key types \"" + character + "\" on the " + layoutName() + " layout";
        strokes.insert(strokes.end(), keys->begin(), keys->end());
    }
    for (const auto& stroke : strokes) {
        const bool addShift = stroke.shifted && !isHeld(kShift);
        const bool addOption = stroke.option && !isHeld(kOption);
        if (addShift) holdModifier(kShift);
        if (addOption) holdModifier(kOption);
        keyboard().press(stroke.keyCode, keyboard().modifierFlags());
        if (addOption) releaseModifier(kOption);
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
