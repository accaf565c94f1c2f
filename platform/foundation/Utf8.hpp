#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace zelvana::platform::utf8 {

struct CodePoint {
    char32_t value;
    std::size_t length;
};

// The character at `at`; none where the bytes are not UTF-8: a stray or
// missing continuation byte, an overlong form, a surrogate or a value past
// U+10FFFF.
inline std::optional<CodePoint> decode(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return CodePoint{lead, 1};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead >= 0xF8 || at + length > text.size()) return std::nullopt;
    char32_t value = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        value = (value << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
        return std::nullopt;
    return CodePoint{value, length};
}

}  // namespace zelvana::platform::utf8
