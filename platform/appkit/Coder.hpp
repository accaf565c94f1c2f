#pragma once

#include <optional>
#include <string>

#include "platform/appkit/Rect.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// A keyed archive of a window's restorable state; the window's own state
// ("frame") plus whatever a window class adds. A value type.
class Coder {
public:
    static constexpr const char* frameKey = "frame";

    Coder() = default;
    explicit Coder(PropertyDictionary values) : values_(std::move(values)) {}

    void encode(const std::string& key, PropertyValue value) { values_[key] = std::move(value); }
    // Null when the key is absent.
    const PropertyValue* decode(const std::string& key) const;
    bool containsValue(const std::string& key) const { return values_.count(key) > 0; }

    // A rectangle as [x, y, width, height].
    void encodeRect(const std::string& key, Rect rect);
    // Absent when missing or not four numbers.
    std::optional<Rect> decodeRect(const std::string& key) const;

    const PropertyDictionary& values() const { return values_; }

private:
    PropertyDictionary values_;
};

}  // namespace zelvana::platform
