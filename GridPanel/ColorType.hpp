#pragma once

#include <cstdint>
#include <optional>

namespace zelvana::gridpanel {

// What the colour slider's track shows: nothing but black, the hues, or a
// range of colour temperatures.
enum class ColorType : std::int64_t { unknown = 0, color = 3, temperature = 4 };

// Only 0, 3 and 4 name a type.
constexpr std::optional<ColorType> colorTypeFromRawValue(std::int64_t raw) {
    switch (raw) {
        case 0:
            return ColorType::unknown;
        case 3:
            return ColorType::color;
        case 4:
            return ColorType::temperature;
        default:
            return std::nullopt;
    }
}

}  // namespace zelvana::gridpanel
