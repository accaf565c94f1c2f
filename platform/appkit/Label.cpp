#include "platform/appkit/Label.hpp"

#include <cmath>

namespace zelvana::platform {

namespace {

std::size_t codePointCount(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char byte : text) {
        if ((byte & 0xC0) != 0x80) ++count;  // continuation bytes add nothing
    }
    return count;
}

}  // namespace

Size Label::fittingSize() const {
    const double characters = static_cast<double>(codePointCount(stringValue_));
    const double width = std::ceil(characters * font_.averageCharacterWidth());
    return Size{width + 2 * horizontalPadding, font_.lineHeight()};
}

}  // namespace zelvana::platform
