#include "Zelvana/BoundedDefault.hpp"

#include <sstream>

namespace zelvana::core {

namespace {

template <typename Number>
std::string describe(Number value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

template <typename Number>
std::optional<Number> field(const settings::CodableDefault& codable) {
    if constexpr (std::is_integral_v<Number>) {
        return codable.intValue;
    } else {
        return codable.doubleValue;
    }
}

}  // namespace

template <typename Number>
BoundedDefault<Number>::BoundedDefault(std::string key, Number defaultValue, Bounds bounds)
    : Default(std::move(key)), defaultValue_(defaultValue), bounds_(bounds), value_(readStored()) {}

template <typename Number>
bool BoundedDefault<Number>::isInRange(Number value) const {
    return value > bounds_.above && (!bounds_.atMost || value <= *bounds_.atMost);
}

template <typename Number>
Number BoundedDefault<Number>::readStored() const {
    std::optional<Number> stored;
    if constexpr (std::is_integral_v<Number>) {
        stored = storedInteger();
    } else {
        stored = storedReal();
    }
    if (!stored) return defaultValue_;
    if (isInRange(*stored)) return *stored;
    warnIgnored("the stored value " + describe(*stored) + " is out of range, so " +
                describe(defaultValue_) + " is used");
    return defaultValue_;
}

template <typename Number>
void BoundedDefault<Number>::setValue(Number value) {
    if (isOffMainQueue()) return moveToMainQueue([this, value] { setValue(value); });
    if (value == value_) return;
    const Number old = value_;
    value_ = value;
    writeDefault(value, old);
}

template <typename Number>
void BoundedDefault<Number>::update(const settings::CodableDefault& codable) {
    const auto incoming = field<Number>(codable);
    if (!incoming || *incoming == value_) return;
    if (!isInRange(*incoming)) return warnIgnored("the snapshot's value is out of range");
    value_ = *incoming;
    userDefaults().set(key(), value_);
}

template <typename Number>
settings::CodableDefault BoundedDefault<Number>::toCodable() const {
    settings::CodableDefault codable;
    if constexpr (std::is_integral_v<Number>) {
        codable.intValue = value_;
    } else {
        codable.doubleValue = value_;
    }
    return codable;
}

template class BoundedDefault<std::int64_t>;
template class BoundedDefault<double>;

}  // namespace zelvana::core
