#include "Zelvana/Driver/KeyNames.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "KeyboardShortcuts/Key.hpp"

namespace zelvana::driver {

namespace {

using keyboardshortcuts::Key;
using platform::Modifier;

struct NamedKey {
    std::string_view name;
    Key key;
};

constexpr std::array kModifiers{
    std::pair{std::string_view("cmd"), Modifier::command},
    std::pair{std::string_view("shift"), Modifier::shift},
    std::pair{std::string_view("opt"), Modifier::option},
    std::pair{std::string_view("ctrl"), Modifier::control},
    std::pair{std::string_view("fn"), Modifier::function},
    std::pair{std::string_view("capslock"), Modifier::capsLock},
};

std::uint16_t modifierKeyCode(Modifier flag) {
    switch (flag) {
        case Modifier::command:
            return Key::command.rawValue;
        case Modifier::shift:
            return Key::shift.rawValue;
        case Modifier::option:
            return Key::option.rawValue;
        case Modifier::control:
            return Key::control.rawValue;
        case Modifier::function:
            return Key::function.rawValue;
        default:
            return Key::capsLock.rawValue;
    }
}

const std::array kLetters{Key::a, Key::b, Key::c, Key::d, Key::e, Key::f, Key::g, Key::h, Key::i,
                          Key::j, Key::k, Key::l, Key::m, Key::n, Key::o, Key::p, Key::q, Key::r,
                          Key::s, Key::t, Key::u, Key::v, Key::w, Key::x, Key::y, Key::z};
const std::array kDigits{Key::zero, Key::one, Key::two,   Key::three, Key::four,
                         Key::five, Key::six, Key::seven, Key::eight, Key::nine};
const std::array kFunctionKeys{Key::f1,  Key::f2,  Key::f3,  Key::f4,  Key::f5,  Key::f6,  Key::f7,
                               Key::f8,  Key::f9,  Key::f10, Key::f11, Key::f12, Key::f13, Key::f14,
                               Key::f15, Key::f16, Key::f17, Key::f18, Key::f19, Key::f20};
const std::array kNamedKeys{
    NamedKey{"space", Key::space},       NamedKey{"return", Key::returnKey},
    NamedKey{"tab", Key::tab},           NamedKey{"escape", Key::escape},
    NamedKey{"delete", Key::deleteKey},  NamedKey{"left", Key::leftArrow},
    NamedKey{"right", Key::rightArrow},  NamedKey{"up", Key::upArrow},
    NamedKey{"down", Key::downArrow},    NamedKey{"home", Key::home},
    NamedKey{"end", Key::end},           NamedKey{"pageup", Key::pageUp},
    NamedKey{"pagedown", Key::pageDown}, NamedKey{"enter", Key::keypadEnter},
};

std::optional<std::uint16_t> code(Key key) {
    return static_cast<std::uint16_t>(key.rawValue);
}

// "f1" to "f20".
std::optional<std::uint16_t> functionKeyNamed(std::string_view name) {
    if (name.size() < 2 || name.size() > 3 || name[0] != 'f' || name[1] == '0') return std::nullopt;
    std::size_t number = 0;
    for (const char digit : name.substr(1)) {
        if (digit < '0' || digit > '9') return std::nullopt;
        number = number * 10 + static_cast<std::size_t>(digit - '0');
    }
    if (number < 1 || number > kFunctionKeys.size()) return std::nullopt;
    return code(kFunctionKeys[number - 1]);
}

}  // namespace

std::optional<ModifierKey> modifierNamed(std::string_view name) {
    for (const auto& [word, flag] : kModifiers) {
        if (word == name) return ModifierKey{flag, modifierKeyCode(flag)};
    }
    return std::nullopt;
}

std::string modifierChord(platform::ModifierFlags flags) {
    std::string chord;
    for (const auto& [word, flag] : kModifiers) {
        if (!flags.contains(flag)) continue;
        if (!chord.empty()) chord += "+";
        chord += word;
    }
    return chord;
}

std::optional<std::uint16_t> keyCodeNamed(std::string_view name) {
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') return code(kLetters[name[0] - 'a']);
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return code(kDigits[name[0] - '0']);
    for (const auto& named : kNamedKeys) {
        if (named.name == name) return code(named.key);
    }
    return functionKeyNamed(name);
}

}  // namespace zelvana::driver
