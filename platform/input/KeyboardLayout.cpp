#include "platform/input/KeyboardLayout.hpp"

#include <map>
#include <utility>

namespace zelvana::platform {

namespace {

// What one key gives without and with Shift; letters follow caps lock too.
struct KeyCharacters {
    std::string plain;
    std::string shifted;
    bool letter = false;
};
using KeyTable = std::map<std::uint16_t, KeyCharacters>;

constexpr std::uint32_t kShiftState = 0x02;
constexpr std::uint32_t kCapsLockState = 0x04;

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
    return table;
}

KeyTable germanTable() {
    KeyTable table = usTable();
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

// A dead key's accent: its state number and the letters it makes.
struct DeadKey {
    std::uint32_t state;
    std::map<std::string, std::string> composed;
};
using DeadKeys = std::map<std::string, DeadKey>;

const DeadKeys& germanDeadKeys() {
    static const DeadKeys keys{
        {"´",
         {1,
          {{"a", "á"},
           {"e", "é"},
           {"i", "í"},
           {"o", "ó"},
           {"u", "ú"},
           {"y", "ý"},
           {"A", "Á"},
           {"E", "É"},
           {"I", "Í"},
           {"O", "Ó"},
           {"U", "Ú"},
           {"Y", "Ý"}}}},
        {"`",
         {2,
          {{"a", "à"},
           {"e", "è"},
           {"i", "ì"},
           {"o", "ò"},
           {"u", "ù"},
           {"A", "À"},
           {"E", "È"},
           {"I", "Ì"},
           {"O", "Ò"},
           {"U", "Ù"}}}},
        {"^",
         {3,
          {{"a", "â"},
           {"e", "ê"},
           {"i", "î"},
           {"o", "ô"},
           {"u", "û"},
           {"A", "Â"},
           {"E", "Ê"},
           {"I", "Î"},
           {"O", "Ô"},
           {"U", "Û"}}}},
    };
    return keys;
}

const DeadKeys& noDeadKeys() {
    static const DeadKeys none;
    return none;
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
    static const KeyboardLayout layout(Kind::us, "com.apple.keylayout.US");
    return layout;
}

const KeyboardLayout& KeyboardLayout::german() {
    static const KeyboardLayout layout(Kind::german, "com.apple.keylayout.German");
    return layout;
}

const KeyboardLayout* KeyboardLayout::currentASCIICapable() {
    return layoutState().current;
}

void KeyboardLayout::setCurrent(const KeyboardLayout* layout) {
    layoutState().current = layout;
}

bool KeyboardLayout::hasUnicodeKeyLayoutData() {
    return layoutState().dataAvailable;
}

void KeyboardLayout::setUnicodeKeyLayoutDataAvailable(bool available) {
    layoutState().dataAvailable = available;
}

KeyTranslation KeyboardLayout::translate(std::uint16_t keyCode, KeyAction action,
                                         std::uint32_t modifierKeyState,
                                         std::uint32_t& deadKeyState) const {
    const bool composes = action == KeyAction::down || action == KeyAction::autoKey;
    KeyTranslation plain = translate(keyCode, action, modifierKeyState);
    if (!composes || plain.status != noErr) return plain;
    const auto& accents = kind_ == Kind::german ? germanDeadKeys() : noDeadKeys();
    const std::uint32_t pending = std::exchange(deadKeyState, 0);
    if (pending == 0) {
        if (const auto accent = accents.find(plain.characters); accent != accents.end()) {
            deadKeyState = accent->second.state;
            return {noErr, ""};
        }
        return plain;
    }
    for (const auto& [accentText, accent] : accents) {
        if (accent.state != pending) continue;
        if (plain.characters == " ") return {noErr, accentText};
        if (const auto letter = accent.composed.find(plain.characters);
            letter != accent.composed.end()) {
            return {noErr, letter->second};
        }
        return {noErr, accentText + plain.characters};
    }
    return plain;
}

KeyTranslation KeyboardLayout::translate(std::uint16_t keyCode, KeyAction /*action*/,
                                         std::uint32_t modifierKeyState) const {
    if (const auto failure = layoutState().translationFailure) return {*failure, ""};
    const auto& table = tableFor(kind_);
    const auto found = table.find(keyCode);
    if (found == table.end()) return {noErr, ""};
    const KeyCharacters& key = found->second;
    const bool shift = (modifierKeyState & kShiftState) != 0;
    const bool capsLock = key.letter && (modifierKeyState & kCapsLockState) != 0;
    return {noErr, shift || capsLock ? key.shifted : key.plain};
}

void KeyboardLayout::setTranslationFailure(std::optional<OSStatus> status) {
    layoutState().translationFailure = status;
}

void KeyboardLayout::resetForTesting() {
    layoutState() = LayoutState{};
}

}  // namespace zelvana::platform
