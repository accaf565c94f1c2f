#pragma once

#include <string>
#include <string_view>

namespace zelvana::logging {

// Unicode-aware text rules of the log: case folding for filters and the white
// space that a line sheds at its end. Pure functions, any thread.
class UnicodeText {
public:
    UnicodeText() = delete;

    // Full case folding, so "STRASSE" and "straße" compare equal.
    static std::string foldedCase(std::string_view text);
    // The text without its trailing white space: every character that "\s"
    // matches (the Unicode White_Space set), not only the ASCII ones.
    static std::string_view withoutTrailingWhitespace(std::string_view text);
    static std::string_view withoutSurroundingWhitespace(std::string_view text);
};

}  // namespace zelvana::logging
