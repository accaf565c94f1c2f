#include "accessibility/Edge.hpp"

#include <algorithm>

namespace zelvana::accessibility {

std::string description(Edge edge) {
    const std::int64_t raw = edge.rawValue();
    if (raw == 0) return "0";
    // Unsigned, so that the lowest raw value has a magnitude too.
    std::uint64_t magnitude =
        raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    std::string digits;
    for (; magnitude != 0; magnitude >>= 1) digits.push_back(magnitude & 1 ? '1' : '0');
    if (raw < 0) digits.push_back('-');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

}  // namespace zelvana::accessibility
