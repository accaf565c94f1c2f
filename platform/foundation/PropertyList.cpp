#include "platform/foundation/PropertyList.hpp"

#include <cmath>
#include <limits>

namespace zelvana::platform {

std::optional<double> PropertyValue::asDouble() const {
    if (const bool* b = boolValue()) return *b ? 1.0 : 0.0;
    if (const std::int64_t* i = integerValue()) return static_cast<double>(*i);
    if (const std::uint64_t* u = largeUnsignedValue()) return static_cast<double>(*u);
    if (const double* d = realValue()) return *d;
    return std::nullopt;
}

std::optional<std::int64_t> PropertyValue::asInteger() const {
    if (const bool* b = boolValue()) return *b ? 1 : 0;
    if (const std::int64_t* i = integerValue()) return *i;
    if (const std::uint64_t* u = largeUnsignedValue()) return static_cast<std::int64_t>(*u);
    const double* d = realValue();
    if (!d || std::isnan(*d)) return std::nullopt;
    // Truncates toward zero like a C cast, but saturates instead of overflowing.
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (*d >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (*d < -kLimit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(*d);
}

const PropertyValue* PropertyValue::find(const std::string& key) const {
    const PropertyDictionary* dictionary = dictionaryValue();
    if (!dictionary) return nullptr;
    auto found = dictionary->find(key);
    return found == dictionary->end() ? nullptr : &found->second;
}

}  // namespace zelvana::platform
