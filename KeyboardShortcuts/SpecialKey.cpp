#include "KeyboardShortcuts/SpecialKey.hpp"

#include <string>

#include "KeyboardShortcuts/KeyNames.hpp"

namespace zelvana::keyboardshortcuts {
namespace {

constexpr char32_t kFunctionKeyRangeStart = 0xF700;
constexpr char32_t kFunctionKeyRangeEnd = 0xF8FF;

// The one code point of a three-byte UTF-8 text, which the whole
// function-key range needs.
std::optional<char32_t> singleThreeByteCodePoint(const std::string& text) {
    if (text.size() != 3 || (static_cast<unsigned char>(text[0]) & 0xF0) != 0xE0) {
        return std::nullopt;
    }
    return (char32_t(static_cast<unsigned char>(text[0]) & 0x0F) << 12) |
           (char32_t(static_cast<unsigned char>(text[1]) & 0x3F) << 6) |
           char32_t(static_cast<unsigned char>(text[2]) & 0x3F);
}

bool inFunctionKeyRange(char32_t point) {
    return point >= kFunctionKeyRangeStart && point <= kFunctionKeyRangeEnd;
}

}  // namespace

const std::set<SpecialKey>& functionKeysAllowedAlone() {
    static const auto keys = [] {
        std::set<SpecialKey> set;
        for (char32_t point = char32_t(SpecialKey::f1); point <= char32_t(SpecialKey::f35);
             ++point) {
            set.insert(SpecialKey(point));
        }
        return set;
    }();
    return keys;
}

std::optional<SpecialKey> specialKey(const platform::Event& event) {
    for (const auto* text : {&event.charactersIgnoringModifiers, &event.characters}) {
        auto point = singleThreeByteCodePoint(*text);
        if (point && inFunctionKeyRange(*point)) return SpecialKey(*point);
    }
    auto character = menuKeyEquivalentCharacter(event.keyCode);
    if (!character) return std::nullopt;
    auto point = singleThreeByteCodePoint(*character);
    if (point && inFunctionKeyRange(*point)) return SpecialKey(*point);
    return std::nullopt;
}

}  // namespace zelvana::keyboardshortcuts
