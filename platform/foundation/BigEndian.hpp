#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelvana::platform::bigEndian {

// Appends the low `width` bytes of the value, most significant first.
inline void append(std::string& bytes, std::uint64_t value, std::size_t width) {
    for (std::size_t shift = width; shift-- > 0;) {
        bytes.push_back(static_cast<char>((value >> (8 * shift)) & 0xff));
    }
}

// The `width` bytes at `offset`; the caller has checked that they are there.
inline std::uint64_t read(std::string_view bytes, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t index = 0; index < width; ++index) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + index]);
    }
    return value;
}

}  // namespace zelvana::platform::bigEndian
