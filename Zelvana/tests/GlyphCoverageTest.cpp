// Every character the program can put on the screen has a glyph in the fonts
// the platform draws with: the texts of its sources, storyboards and string
// tables, the names the shortcut recorders give keys, and the keycap numbers
// of the menu-bar title.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "KeyboardShortcuts/KeyNames.hpp"
#include "KeyboardShortcuts/ModifierFlags.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/TextLayout.hpp"

namespace zelvana::core {
namespace {

namespace fs = std::filesystem;

// The folders of the program's own code; tests, benchmarks and fuzz inputs
// put nothing on the screen.
constexpr const char* kProgramFolders[] = {
    "Zelvana",  "switcher", "settings", "GridPanel", "KeyboardShortcuts", "input",
    "gestures", "Logging",  "Tools",    "DropPane",  "accessibility",     "ZelvanaHelper"};

std::string utf8(char32_t c) {
    std::string text;
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

// The code points of UTF-8 text; bytes that start no character are skipped.
std::set<char32_t> codePoints(const std::string& text) {
    std::set<char32_t> found;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte < 0x80    ? 1
                           : byte >= 0xF0 ? 4
                           : byte >= 0xE0 ? 3
                           : byte >= 0xC0 ? 2
                                          : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
            ++i;
            continue;
        }
        char32_t c = length == 1 ? byte : byte & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        found.insert(c);
        i += static_cast<std::size_t>(length);
    }
    return found;
}

// The contents of the string literals of C++ source, escapes decoded;
// comments and character literals are passed over.
std::string literals(const std::string& source) {
    std::string out;
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source.compare(i, 2, "//") == 0) {
            i = source.find('\n', i);
            if (i == std::string::npos) break;
        } else if (source.compare(i, 2, "/*") == 0) {
            i = source.find("*/", i);
            if (i == std::string::npos) break;
            ++i;
        } else if (source[i] == '\'') {
            i = source.find('\'', i + (source[i + 1] == '\\' ? 3 : 2));
            if (i == std::string::npos) break;
        } else if (source[i] == '"') {
            for (++i; i < source.size() && source[i] != '"'; ++i) {
                if (source[i] != '\\') {
                    out += source[i];
                    continue;
                }
                const char kind = source[++i];
                if (kind == 'u' || kind == 'U') {
                    const std::size_t digits = kind == 'u' ? 4 : 8;
                    out += utf8(static_cast<char32_t>(
                        std::stoul(source.substr(i + 1, digits), nullptr, 16)));
                    i += digits;
                } else if (kind == 'x') {
                    out += static_cast<char>(std::stoi(source.substr(i + 1, 2), nullptr, 16));
                    i += 2;
                }
            }
            out += '\n';
        }
    }
    return out;
}

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Every text of the program's sources and resources.
std::string programTexts() {
    std::string texts;
    for (const char* folder : kProgramFolders) {
        for (const auto& entry :
             fs::recursive_directory_iterator(fs::path(ZELVANA_SOURCE_DIR) / folder)) {
            const auto& path = entry.path();
            if (!entry.is_regular_file() || path.string().find("/tests/") != std::string::npos)
                continue;
            const auto extension = path.extension();
            if (extension == ".cpp" || extension == ".hpp") texts += literals(contents(path));
            // Storyboards and string tables: everything in them may be shown.
            if (extension == ".storyboard" || extension == ".strings") texts += contents(path);
        }
    }
    return texts;
}

int missingGlyphs(const std::string& text) {
    return platform::TextLayout(text, platform::Font::systemFont(13)).missingGlyphCount();
}

TEST(GlyphCoverageTest, EveryCharacterOfTheProgramsTextsHasAGlyph) {
    ASSERT_EQ(missingGlyphs("\uE000"), 1) << "a character no font has is seen as one";
    const auto characters = codePoints(programTexts());
    ASSERT_TRUE(characters.contains(U'\u24D8')) << "the info buttons' ⓘ is among the texts";
    for (const char32_t c : characters) {
        if (c < 0x20 || c == 0x7F) continue;  // controls draw nothing
        EXPECT_EQ(missingGlyphs(utf8(c)), 0) << "U+" << std::hex << static_cast<unsigned>(c);
    }
}

TEST(GlyphCoverageTest, KeyNamesModifierSymbolsAndKeycapNumbersHaveGlyphs) {
    for (const auto& [code, name] : keyboardshortcuts::specialKeyNames()) {
        EXPECT_EQ(missingGlyphs(name), 0) << "key " << code << ": " << name;
    }
    using keyboardshortcuts::Modifier;
    const std::string modifiers = keyboardshortcuts::modifierDescription(
        Modifier::control | Modifier::option | Modifier::shift | Modifier::command |
        Modifier::function);
    EXPECT_EQ(modifiers.substr(0, 12), "⌃⌥⇧⌘");
    EXPECT_EQ(missingGlyphs(modifiers), 0) << modifiers;
    for (int number = 1; number <= 9; ++number) {
        const std::string keycap = std::to_string(number) + "\u20E3";
        EXPECT_EQ(missingGlyphs(keycap), 0) << keycap;
    }
}

}  // namespace
}  // namespace zelvana::core
