#include "KeyboardShortcuts/Shortcut.hpp"

#include <algorithm>
#include <cctype>
#include <limits>

#include <nlohmann/json.hpp>

#include "KeyboardShortcuts/KeyNames.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/foundation/JSONText.hpp"
#include "platform/input/SymbolicHotKeys.hpp"

namespace zelvana::keyboardshortcuts {
namespace {

constexpr const char* kReplacementCharacter = "\uFFFD";

// Case mapping for ASCII and the Latin-1 letters that keyboard layouts give.
std::string changeCase(const std::string& text, bool upper) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            result += static_cast<char>(upper ? std::toupper(byte) : std::tolower(byte));
            continue;
        }
        const bool latin1 = byte == 0xC3 && i + 1 < text.size();
        auto next = latin1 ? static_cast<unsigned char>(text[i + 1]) : 0;
        result += text[i];
        if (!latin1) continue;
        const bool isUpper = next >= 0x80 && next <= 0x9E && next != 0x97;
        const bool isLower = next >= 0xA0 && next <= 0xBE && next != 0xB7;
        if (upper && isLower) next -= 0x20;
        if (!upper && isUpper) next += 0x20;
        result += static_cast<char>(next);
        ++i;
    }
    return result;
}

std::size_t utf8Length(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// First letter of each word upper case, the rest lower case.
std::string capitalizedWords(const std::string& text) {
    std::string result;
    bool wordStart = true;
    for (std::size_t i = 0; i < text.size();) {
        const auto length =
            std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
        const auto character = text.substr(i, length);
        result += changeCase(character, wordStart);
        wordStart = character == " ";
        i += length;
    }
    return result;
}

std::optional<std::int64_t> integerMember(const nlohmann::json& object, const char* key) {
    auto found = object.find(key);
    if (found == object.end()) return std::nullopt;
    if (found->is_number_unsigned()) {
        const auto value = found->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(value);
    }
    if (!found->is_number_integer()) return std::nullopt;
    return found->get<std::int64_t>();
}

bool isEnabledHotKey(const platform::PropertyDictionary& entry) {
    auto enabled = entry.find(platform::kHISymbolicHotKeyEnabled);
    return enabled != entry.end() && enabled->second.boolValue() != nullptr &&
           *enabled->second.boolValue();
}

std::optional<Shortcut> symbolicHotKeyShortcut(const platform::PropertyDictionary& entry) {
    auto code = entry.find(platform::kHISymbolicHotKeyCode);
    auto modifiers = entry.find(platform::kHISymbolicHotKeyModifiers);
    if (!isEnabledHotKey(entry) || code == entry.end() || modifiers == entry.end()) {
        return std::nullopt;
    }
    const auto* keyCode = code->second.integerValue();
    const auto* carbonModifiers = modifiers->second.integerValue();
    if (keyCode == nullptr || carbonModifiers == nullptr) return std::nullopt;
    return Shortcut::fromCarbon(*keyCode, *carbonModifiers);
}

}  // namespace

Shortcut Shortcut::fromCarbon(std::int64_t carbonKeyCode, std::int64_t carbonModifiers) {
    return Shortcut(Unreduced{}, carbonKeyCode, carbonValue(modifierFlags(carbonModifiers)));
}

Shortcut::Shortcut(Key key, ModifierFlags modifiers)
    : carbonKeyCode_(key.rawValue), carbonModifiers_(carbonValue(modifiers)) {}

Shortcut Shortcut::fromModifierFlags(std::int64_t carbonKeyCode, ModifierFlags modifiers) {
    return Shortcut(Key(carbonKeyCode), modifiers);
}

std::optional<Shortcut> Shortcut::fromEvent(const platform::Event& event) {
    if (event.type != platform::EventType::keyDown && event.type != platform::EventType::keyUp) {
        return std::nullopt;
    }
    return fromModifierFlags(event.keyCode, event.modifierFlags);
}

std::string Shortcut::toJSON() const {
    nlohmann::ordered_json json;
    json["carbonKeyCode"] = carbonKeyCode_;
    json["carbonModifiers"] = carbonModifiers_;
    return json.dump();
}

std::optional<Shortcut> Shortcut::fromJSON(std::string_view text) {
    auto json = platform::JSONText::parse(text).value_or(nlohmann::json());
    if (json.is_discarded() || !json.is_object()) return std::nullopt;
    auto keyCode = integerMember(json, "carbonKeyCode");
    if (!keyCode) return std::nullopt;
    auto modifiers = integerMember(json, "carbonModifiers");
    if (!modifiers) return std::nullopt;
    return Shortcut(Unreduced{}, *keyCode, *modifiers);
}

std::string Shortcut::description() const {
    auto key = keyToCharacter(carbonKeyCode_);
    return modifierDescription(modifiers()) +
           (key ? capitalizedWords(*key) : std::string(kReplacementCharacter));
}

std::shared_ptr<platform::MenuItem> Shortcut::menuItemWithMatchingShortcut(
    const platform::Menu& menu) const {
    for (const auto& item : menu.itemArray()) {
        if (matchesKeyEquivalent(*item)) return item;
        if (item->submenu()) {
            if (auto found = menuItemWithMatchingShortcut(*item->submenu())) return found;
        }
    }
    return nullptr;
}

bool Shortcut::matchesKeyEquivalent(const platform::MenuItem& item) const {
    auto keyEquivalent = item.keyEquivalent();
    auto mask = item.keyEquivalentModifierMask();
    if (keyEquivalent.empty()) return false;
    // An upper-case letter in a menu stands for the shifted combination.
    if (modifiers().contains(Modifier::shift) &&
        changeCase(keyEquivalent, false) != keyEquivalent) {
        keyEquivalent = changeCase(keyEquivalent, false);
        mask |= Modifier::shift;
    }
    if (modifiers() != mask) return false;
    // Special keys appear in menus as control or function-key characters.
    return keyToCharacter(carbonKeyCode_) == keyEquivalent ||
           menuKeyEquivalentCharacter(carbonKeyCode_) == keyEquivalent;
}

std::vector<Shortcut> Shortcut::systemHotKeyShortcuts() {
    auto copy = platform::copySymbolicHotKeys();
    if (copy.status != platform::noErr || !copy.hotKeys) return {};
    std::vector<const platform::PropertyDictionary*> entries;
    for (const auto& value : *copy.hotKeys) {
        if (value.dictionaryValue() == nullptr) return {};
        entries.push_back(value.dictionaryValue());
    }
    std::vector<Shortcut> shortcuts;
    for (const auto* entry : entries) {
        if (auto shortcut = symbolicHotKeyShortcut(*entry)) shortcuts.push_back(*shortcut);
    }
    return shortcuts;
}

}  // namespace zelvana::keyboardshortcuts
