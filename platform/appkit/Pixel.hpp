#pragma once

#include <cstdint>

namespace zelvana::platform {

// One pixel, 8 bits per channel, not premultiplied.
struct Pixel {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;
    bool operator==(const Pixel&) const = default;
};

}  // namespace zelvana::platform
