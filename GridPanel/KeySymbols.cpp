#include "GridPanel/KeySymbols.hpp"

#include <array>
#include <limits>
#include <map>

#include "platform/input/KeyboardLayout.hpp"

namespace zelvana::gridpanel {
namespace {

constexpr const char* kKeycap = "\u20E3";

std::map<Key, std::string> makeSpecialKeys() {
    std::map<Key, std::string> keys{
        {{36}, "\u21A9"},  {{51}, "\u232B"},   {{117}, "\u2326"}, {{119}, "\u2198"},
        {{53}, "\u238B"},  {{114}, "?\u20DD"}, {{115}, "\u2196"}, {{49}, "Space"},
        {{48}, "\u21E5"},  {{116}, "\u21DE"},  {{121}, "\u21DF"}, {{126}, "\u2191"},
        {{124}, "\u2192"}, {{125}, "\u2193"},  {{123}, "\u2190"},
    };
    constexpr std::array<std::int64_t, 20> functionKeys{
        122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107, 113, 106, 64, 79, 80, 90};
    for (std::size_t i = 0; i < functionKeys.size(); ++i) {
        keys[{functionKeys[i]}] = "F" + std::to_string(i + 1);
    }
    // The keypad's digits are plain digits; its other keys wear a keycap.
    constexpr std::array<std::int64_t, 10> keypadDigits{82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
    for (std::size_t digit = 0; digit < keypadDigits.size(); ++digit) {
        keys[{keypadDigits[digit]}] = std::to_string(digit);
    }
    const std::array<std::pair<std::int64_t, const char*>, 8> keypadSigns{{{71, "\u2612"},
                                                                           {65, "."},
                                                                           {75, "/"},
                                                                           {76, "\u21A9"},
                                                                           {81, "="},
                                                                           {78, "-"},
                                                                           {67, "*"},
                                                                           {69, "+"}}};
    for (const auto& [code, sign] : keypadSigns) keys[{code}] = std::string(sign) + kKeycap;
    return keys;
}

const std::map<Key, std::string>& specialKeys() {
    static const auto keys = makeSpecialKeys();
    return keys;
}

}  // namespace

std::optional<std::string> keyString(std::int64_t keyCode) {
    if (auto found = specialKeys().find({keyCode}); found != specialKeys().end()) {
        return found->second;
    }
    if (keyCode < 0 || keyCode > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
    const auto* layout = platform::KeyboardLayout::currentASCIICapable();
    if (!layout || !platform::KeyboardLayout::hasUnicodeKeyLayoutData()) return std::nullopt;
    const auto translation =
        layout->translate(static_cast<std::uint16_t>(keyCode), platform::KeyAction::display, 0);
    if (translation.status != platform::noErr) return std::nullopt;
    return translation.characters;
}

}  // namespace zelvana::gridpanel
