#include "Logging/UnicodeText.hpp"

#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace zelvana::logging {

namespace {

bool isAsciiWhitespace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string UnicodeText::foldedCase(std::string_view text) {
    std::string folded;
    icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
        .foldCase(U_FOLD_CASE_DEFAULT)
        .toUTF8String(folded);
    return folded;
}

std::string_view UnicodeText::withoutTrailingWhitespace(std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    auto end = static_cast<int32_t>(text.size());
    while (end > 0) {
        if (bytes[end - 1] < 0x80) {
            if (!isAsciiWhitespace(bytes[end - 1])) break;
            --end;
            continue;
        }
        int32_t start = end;
        UChar32 c;
        U8_PREV(bytes, 0, start, c);
        // Broken UTF-8 decodes as a negative value: not white space.
        if (c < 0 || !u_isUWhiteSpace(c)) break;
        end = start;
    }
    return text.substr(0, static_cast<std::size_t>(end));
}

std::string_view UnicodeText::withoutSurroundingWhitespace(std::string_view text) {
    text = withoutTrailingWhitespace(text);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    while (start < length) {
        int32_t next = start;
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !u_isUWhiteSpace(c)) break;
        start = next;
    }
    return text.substr(static_cast<std::size_t>(start));
}

}  // namespace zelvana::logging
