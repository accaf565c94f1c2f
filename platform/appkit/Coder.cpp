#include "platform/appkit/Coder.hpp"

namespace zelvana::platform {

const PropertyValue* Coder::decode(const std::string& key) const {
    auto found = values_.find(key);
    return found == values_.end() ? nullptr : &found->second;
}

void Coder::encodeRect(const std::string& key, Rect rect) {
    encode(key, PropertyArray{rect.minX(), rect.minY(), rect.width(), rect.height()});
}

std::optional<Rect> Coder::decodeRect(const std::string& key) const {
    const PropertyValue* value = decode(key);
    const PropertyArray* numbers = value ? value->arrayValue() : nullptr;
    if (!numbers || numbers->size() != 4) return std::nullopt;
    double parts[4];
    for (std::size_t i = 0; i < 4; ++i) {
        auto number = (*numbers)[i].asDouble();
        if (!number || (*numbers)[i].isBool()) return std::nullopt;
        parts[i] = *number;
    }
    return Rect::make(parts[0], parts[1], parts[2], parts[3]);
}

}  // namespace zelvana::platform
