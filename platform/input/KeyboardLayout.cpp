#include "platform/input/KeyboardLayout.hpp"
#include "platform/core/MainThread.hpp"

#include <initializer_list>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvana::platform {

namespace {

// What one key gives without and with Shift, and with Option alone (empty
// when Option changes nothing); letters follow caps lock too.
struct KeyCharacters {
    std::string plain;
    std::string shifted;
    bool letter = false;
    std::string option{};
};
using KeyTable = std::map<std::uint16_t, KeyCharacters>;

constexpr std::uint32_t kShiftState = 0x02;
constexpr std::uint32_t kCapsLockState = 0x04;
constexpr std::uint32_t kOptionState = 0x08;

// Which of a key's characters the modifier state picks.
enum class Level { plain, shifted, option };

Level levelOf(const KeyCharacters& key, std::uint32_t modifierKeyState) {
    if ((modifierKeyState & kShiftState) != 0) return Level::shifted;
    if ((modifierKeyState & kOptionState) != 0 && !key.option.empty()) return Level::option;
    if (key.letter && (modifierKeyState & kCapsLockState) != 0) return Level::shifted;
    return Level::plain;
}

const std::string& characterAt(const KeyCharacters& key, Level level) {
    switch (level) {
        case Level::shifted:
            return key.shifted;
        case Level::option:
            return key.option;
        default:
            return key.plain;
    }
}

void addLetters(KeyTable& table, const std::map<std::uint16_t, char>& letters) {
    for (const auto& [code, letter] : letters) {
        table[code] = {std::string(1, letter), std::string(1, char(letter - 'a' + 'A')), true};
    }
}

// Keys that give the same text on both layouts: control characters of the
// editing and navigation keys, the keypad, space, return and tab.
void addCommonKeys(KeyTable& table) {
    const std::map<std::uint16_t, std::string> control = {
        {36, "\r"},    {48, "\t"},    {49, " "},     {51, "\x08"},  {53, "\x1b"},  {117, "\x7f"},
        {115, "\x01"}, {119, "\x04"}, {116, "\x0b"}, {121, "\x0c"}, {114, "\x05"}, {123, "\x1c"},
        {124, "\x1d"}, {126, "\x1e"}, {125, "\x1f"}, {76, "\x03"},  {71, "\x1b"},  {65, "."},
        {75, "/"},     {67, "*"},     {69, "+"},     {78, "-"},     {81, "="},
    };
    for (const auto& [code, text] : control) table[code] = {text, text};
    const std::uint16_t keypadDigits[] = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
    for (int digit = 0; digit < 10; ++digit) {
        const std::string text(1, char('0' + digit));
        table[keypadDigits[digit]] = {text, text};
    }
    // Function keys give the function-key character.
    for (std::uint16_t code : {122, 120, 99,  118, 96,  97,  98, 100, 101, 109,
                               103, 111, 105, 107, 113, 106, 64, 79,  80,  90}) {
        table[code] = {"\x10", "\x10"};
    }
}

void addDigitRow(KeyTable& table, const char* shiftedDigits[10]) {
    const std::uint16_t codes[] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};
    for (int digit = 0; digit < 10; ++digit) {
        table[codes[digit]] = {std::string(1, char('0' + digit)), shiftedDigits[digit]};
    }
}

// The U.S. layout's Option characters; ´, `, ˆ, ¨ and ˜ are dead keys.
void addUSOptionKeys(KeyTable& table) {
    const std::map<std::uint16_t, std::string> option = {
        {0, "å"},  {11, "∫"}, {8, "ç"},  {2, "∂"},  {14, "´"}, {3, "ƒ"},  {5, "©"},  {4, "˙"},
        {34, "ˆ"}, {38, "∆"}, {40, "˚"}, {37, "¬"}, {46, "µ"}, {45, "˜"}, {31, "ø"}, {35, "π"},
        {12, "œ"}, {15, "®"}, {1, "ß"},  {17, "†"}, {32, "¨"}, {9, "√"},  {13, "∑"}, {7, "≈"},
        {16, "¥"}, {6, "Ω"},  {18, "¡"}, {19, "™"}, {20, "£"}, {21, "¢"}, {23, "∞"}, {22, "§"},
        {26, "¶"}, {28, "•"}, {25, "ª"}, {29, "º"}, {27, "–"}, {24, "≠"}, {33, "“"}, {30, "‘"},
        {42, "«"}, {41, "…"}, {39, "æ"}, {43, "≤"}, {47, "≥"}, {44, "÷"}, {50, "`"},
    };
    for (const auto& [code, text] : option) table[code].option = text;
}

KeyTable usTable() {
    KeyTable table;
    addCommonKeys(table);
    addLetters(table, {{0, 'a'},  {11, 'b'}, {8, 'c'},  {2, 'd'},  {14, 'e'}, {3, 'f'},  {5, 'g'},
                       {4, 'h'},  {34, 'i'}, {38, 'j'}, {40, 'k'}, {37, 'l'}, {46, 'm'}, {45, 'n'},
                       {31, 'o'}, {35, 'p'}, {12, 'q'}, {15, 'r'}, {1, 's'},  {17, 't'}, {32, 'u'},
                       {9, 'v'},  {13, 'w'}, {7, 'x'},  {16, 'y'}, {6, 'z'}});
    const char* shifted[10] = {")", "!", "@", "#", "$", "%", "^", "&", "*", "("};
    addDigitRow(table, shifted);
    table[27] = {"-", "_"};
    table[24] = {"=", "+"};
    table[33] = {"[", "{"};
    table[30] = {"]", "}"};
    table[42] = {"\\", "|"};
    table[41] = {";", ":"};
    table[39] = {"'", "\""};
    table[43] = {",", "<"};
    table[47] = {".", ">"};
    table[44] = {"/", "?"};
    table[50] = {"`", "~"};
    table[10] = {"§", "±"};
    addUSOptionKeys(table);
    return table;
}

// Option changes nothing on the German layout here.
KeyTable germanTable() {
    KeyTable table = usTable();
    for (auto& [code, key] : table) key.option.clear();
    // QWERTZ: the Y and Z keys trade places.
    table[16] = {"z", "Z", true};
    table[6] = {"y", "Y", true};
    table[41] = {"ö", "Ö", true};
    table[39] = {"ä", "Ä", true};
    table[33] = {"ü", "Ü", true};
    const char* shifted[10] = {"=", "!", "\"", "§", "$", "%", "&", "/", "(", ")"};
    addDigitRow(table, shifted);
    table[27] = {"ß", "?"};
    table[24] = {"´", "`"};
    table[30] = {"+", "*"};
    table[42] = {"#", "'"};
    table[43] = {",", ";"};
    table[47] = {".", ":"};
    table[44] = {"-", "_"};
    table[50] = {"<", ">"};
    table[10] = {"^", "°"};
    return table;
}

// A dead key's accent: the text it gives alone and the letters it makes.
struct Accent {
    std::string text;
    std::map<std::string, std::string> composed;
};

// Each base letter of `bases` with the accented letter at the same place.
std::map<std::string, std::string> composing(std::string_view bases,
                                             std::initializer_list<const char*> accented) {
    std::map<std::string, std::string> letters;
    auto letter = accented.begin();
    for (const char base : bases) letters[std::string(1, base)] = *letter++;
    return letters;
}

// By the dead-key state each leaves, counted from 1.
const std::vector<Accent>& accents() {
    static const auto acute =
        composing("aeiouyAEIOUY", {"á", "é", "í", "ó", "ú", "ý", "Á", "É", "Í", "Ó", "Ú", "Ý"});
    static const auto circumflex =
        composing("aeiouAEIOU", {"â", "ê", "î", "ô", "û", "Â", "Ê", "Î", "Ô", "Û"});
    static const std::vector<Accent> all{
        {"´", acute},
        {"`", composing("aeiouAEIOU", {"à", "è", "ì", "ò", "ù", "À", "È", "Ì", "Ò", "Ù"})},
        {"^", circumflex},
        {"ˆ", circumflex},
        {"¨",
         composing("aeiouyAEIOUY", {"ä", "ë", "ï", "ö", "ü", "ÿ", "Ä", "Ë", "Ï", "Ö", "Ü", "Ÿ"})},
        {"˜", composing("anoANO", {"ã", "ñ", "õ", "Ã", "Ñ", "Õ"})},
    };
    return all;
}

std::uint32_t stateOf(std::string_view accentText) {
    const auto& all = accents();
    for (std::size_t index = 0; index < all.size(); ++index) {
        if (all[index].text == accentText) return static_cast<std::uint32_t>(index + 1);
    }
    return 0;
}

// The keys that wait for the next one, at the level that makes them dead.
using DeadKeys = std::map<std::pair<std::uint16_t, Level>, std::uint32_t>;

const DeadKeys& deadKeysOf(KeyboardLayout::Kind kind) {
    static const DeadKeys german{{{24, Level::plain}, stateOf("´")},
                                 {{24, Level::shifted}, stateOf("`")},
                                 {{10, Level::plain}, stateOf("^")}};
    static const DeadKeys us{{{14, Level::option}, stateOf("´")},
                             {{50, Level::option}, stateOf("`")},
                             {{34, Level::option}, stateOf("ˆ")},
                             {{32, Level::option}, stateOf("¨")},
                             {{45, Level::option}, stateOf("˜")}};
    return kind == KeyboardLayout::Kind::german ? german : us;
}

const KeyTable& tableFor(KeyboardLayout::Kind kind) {
    static const KeyTable us = usTable();
    static const KeyTable german = germanTable();
    return kind == KeyboardLayout::Kind::german ? german : us;
}

struct LayoutState {
    const KeyboardLayout* current = &KeyboardLayout::us();
    bool dataAvailable = true;
    std::optional<OSStatus> translationFailure;
};

LayoutState& layoutState() {
    static LayoutState state;
    return state;
}

}  // namespace

const KeyboardLayout& KeyboardLayout::us() {
    platform::assertMainThread();
    static const KeyboardLayout layout(Kind::us, "com.apple.keylayout.US");
    return layout;
}

const KeyboardLayout& KeyboardLayout::german() {
    platform::assertMainThread();
    static const KeyboardLayout layout(Kind::german, "com.apple.keylayout.German");
    return layout;
}

const KeyboardLayout* KeyboardLayout::currentASCIICapable() {
    platform::assertMainThread();
    return layoutState().current;
}

void KeyboardLayout::setCurrent(const KeyboardLayout* layout) {
    platform::assertMainThread();
    layoutState().current = layout;
}

bool KeyboardLayout::hasUnicodeKeyLayoutData() {
    platform::assertMainThread();
    return layoutState().dataAvailable;
}

void KeyboardLayout::setUnicodeKeyLayoutDataAvailable(bool available) {
    platform::assertMainThread();
    layoutState().dataAvailable = available;
}

KeyTranslation KeyboardLayout::translate(std::uint16_t keyCode, KeyAction action,
                                         std::uint32_t modifierKeyState,
                                         std::uint32_t& deadKeyState) const {
    const bool composes = action == KeyAction::down || action == KeyAction::autoKey;
    KeyTranslation plain = translate(keyCode, action, modifierKeyState);
    if (!composes || plain.status != noErr) return plain;
    const std::uint32_t pending = std::exchange(deadKeyState, 0);
    if (pending == 0 || pending > accents().size()) {
        const auto& table = tableFor(kind_);
        const auto key = table.find(keyCode);
        if (key == table.end()) return plain;
        const auto& deadKeys = deadKeysOf(kind_);
        const auto dead = deadKeys.find({keyCode, levelOf(key->second, modifierKeyState)});
        if (dead == deadKeys.end()) return plain;
        deadKeyState = dead->second;
        return {noErr, ""};
    }
    const Accent& accent = accents()[pending - 1];
    if (plain.characters == " ") return {noErr, accent.text};
    if (const auto letter = accent.composed.find(plain.characters);
        letter != accent.composed.end()) {
        return {noErr, letter->second};
    }
    return {noErr, accent.text + plain.characters};
}

KeyTranslation KeyboardLayout::translate(std::uint16_t keyCode, KeyAction /*action*/,
                                         std::uint32_t modifierKeyState) const {
    if (const auto failure = layoutState().translationFailure) return {*failure, ""};
    const auto& table = tableFor(kind_);
    const auto found = table.find(keyCode);
    if (found == table.end()) return {noErr, ""};
    return {noErr, characterAt(found->second, levelOf(found->second, modifierKeyState))};
}

void KeyboardLayout::setTranslationFailure(std::optional<OSStatus> status) {
    platform::assertMainThread();
    layoutState().translationFailure = status;
}

void KeyboardLayout::resetForTesting() {
    platform::assertMainThread();
    layoutState() = LayoutState{};
}

}  // namespace zelvana::platform
