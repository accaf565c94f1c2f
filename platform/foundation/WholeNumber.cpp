#include "platform/foundation/WholeNumber.hpp"

#include <algorithm>
#include <charconv>

namespace zelvana::platform {

std::optional<std::int64_t> wholeNumber(std::string_view text) {
    std::string_view digits = text;
    if (digits.starts_with('+') || digits.starts_with('-')) digits.remove_prefix(1);
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (digits.empty() || !std::ranges::all_of(digits, isDigit)) return std::nullopt;
    // from_chars takes a minus but no plus.
    const char* begin = text.starts_with('+') ? digits.data() : text.data();
    const char* end = text.data() + text.size();
    std::int64_t value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace zelvana::platform
