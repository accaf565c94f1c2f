#include "KeyboardShortcuts/KeyNames.hpp"

#include <array>
#include <limits>
#include <vector>

#include "platform/input/KeyboardLayout.hpp"

namespace zelvana::keyboardshortcuts {
namespace {

constexpr std::array<std::int64_t, 20> kFunctionKeyCodes{
    122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107, 113, 106, 64, 79, 80, 90};

constexpr const char* kEnclosingKeycap = "\u20E3";

std::string utf8(char32_t codePoint) {
    std::string text;
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return text;
}

std::map<std::int64_t, std::string> makeSpecialKeyNames() {
    std::map<std::int64_t, std::string> names{
        {36, "\u21A9"},  {51, "\u232B"},   {117, "\u2326"}, {119, "\u2198"},
        {53, "\u238B"},  {114, "?\u20DD"}, {115, "\u2196"}, {49, "Space"},
        {48, "\u21E5"},  {116, "\u21DE"},  {121, "\u21DF"}, {126, "\u2191"},
        {124, "\u2192"}, {125, "\u2193"},  {123, "\u2190"}, {71, "\u2612\u20E3"},
    };
    for (std::size_t index = 0; index < kFunctionKeyCodes.size(); ++index) {
        names[kFunctionKeyCodes[index]] = "F" + std::to_string(index + 1);
    }
    constexpr std::array<std::int64_t, 10> keypadDigits{82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
    for (std::size_t digit = 0; digit < keypadDigits.size(); ++digit) {
        names[keypadDigits[digit]] = std::to_string(digit) + kEnclosingKeycap;
    }
    const std::vector<std::pair<std::int64_t, std::string>> keypadSigns{
        {65, "."}, {75, "/"}, {76, "\u21A9"}, {81, "="}, {78, "-"}, {67, "*"}, {69, "+"}};
    for (const auto& [code, sign] : keypadSigns) names[code] = sign + kEnclosingKeycap;
    return names;
}

std::map<std::int64_t, std::string> makeFunctionKeyEquivalents() {
    std::map<std::int64_t, std::string> equivalents{{49, " "}};
    for (std::size_t index = 0; index < kFunctionKeyCodes.size(); ++index) {
        equivalents[kFunctionKeyCodes[index]] = utf8(0xF704 + static_cast<char32_t>(index));
    }
    return equivalents;
}

std::map<std::int64_t, std::string> makeMenuKeyEquivalentCharacters() {
    auto characters = makeFunctionKeyEquivalents();
    const std::vector<std::pair<std::int64_t, char32_t>> others{
        {36, U'\r'},   {76, 0x03},    {48, U'\t'},   {51, 0x08},    {53, 0x1B},
        {117, 0xF728}, {115, 0xF729}, {119, 0xF72B}, {116, 0xF72C}, {121, 0xF72D},
        {114, 0xF746}, {126, 0xF700}, {125, 0xF701}, {123, 0xF702}, {124, 0xF703},
    };
    for (const auto& [code, character] : others) characters[code] = utf8(character);
    return characters;
}

bool continuesCharacter(char32_t codePoint) {
    return (codePoint >= 0x0300 && codePoint <= 0x036F) ||
           (codePoint >= 0x1AB0 && codePoint <= 0x1AFF) ||
           (codePoint >= 0x1DC0 && codePoint <= 0x1DFF) ||
           (codePoint >= 0x20D0 && codePoint <= 0x20FF) ||
           (codePoint >= 0xFE00 && codePoint <= 0xFE0F) ||
           (codePoint >= 0xFE20 && codePoint <= 0xFE2F) || codePoint == 0x200D;
}

std::vector<char32_t> codePoints(const std::string& utf8Text) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < utf8Text.size();) {
        const auto lead = static_cast<unsigned char>(utf8Text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length && i + k < utf8Text.size(); ++k) {
            point = (point << 6) | (static_cast<unsigned char>(utf8Text[i + k]) & 0x3F);
        }
        points.push_back(point);
        i += length;
    }
    return points;
}

}  // namespace

const std::map<std::int64_t, std::string>& specialKeyNames() {
    static const auto names = makeSpecialKeyNames();
    return names;
}

const std::map<std::int64_t, std::string>& functionKeyEquivalents() {
    static const auto equivalents = makeFunctionKeyEquivalents();
    return equivalents;
}

std::optional<std::string> keyToCharacter(std::int64_t keyCode) {
    if (auto found = specialKeyNames().find(keyCode); found != specialKeyNames().end()) {
        return found->second;
    }
    // A hand-edited stored code may not fit the translation's 16 bits.
    if (keyCode < 0 || keyCode > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
    const auto* layout = platform::KeyboardLayout::currentASCIICapable();
    if (layout == nullptr || !platform::KeyboardLayout::hasUnicodeKeyLayoutData()) {
        return std::nullopt;
    }
    auto translation =
        layout->translate(static_cast<std::uint16_t>(keyCode), platform::KeyAction::display, 0);
    if (translation.status != platform::noErr) return std::nullopt;
    return translation.characters;
}

std::string keyEquivalentString(std::int64_t keyCode) {
    auto text = keyToCharacter(keyCode).value_or("");
    if (perceivedCharacterCount(text) < 2) return text;
    auto found = functionKeyEquivalents().find(keyCode);
    return found == functionKeyEquivalents().end() ? std::string() : found->second;
}

std::optional<std::string> menuKeyEquivalentCharacter(std::int64_t keyCode) {
    static const auto characters = makeMenuKeyEquivalentCharacters();
    auto found = characters.find(keyCode);
    if (found == characters.end()) return std::nullopt;
    return found->second;
}

std::size_t perceivedCharacterCount(const std::string& utf8Text) {
    std::size_t count = 0;
    for (char32_t point : codePoints(utf8Text)) {
        if (count == 0 || !continuesCharacter(point)) ++count;
    }
    return count;
}

}  // namespace zelvana::keyboardshortcuts
