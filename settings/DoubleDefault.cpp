#include "settings/DoubleDefault.hpp"

namespace zelvana::settings {

DoubleDefault::DoubleDefault(std::string key, double defaultValue) : Default(std::move(key)) {
    const double stored = storedReal().value_or(0.0);
    value_ = stored == 0.0 ? defaultValue : stored;
}

void DoubleDefault::setValue(double value) {
    if (isOffMainQueue()) return moveToMainQueue([this, value] { setValue(value); });
    if (value == value_) return;
    const double old = value_;
    value_ = value;
    writeDefault(value, old);
}

void DoubleDefault::update(const CodableDefault& codable) {
    if (!codable.doubleValue || *codable.doubleValue == value_) return;
    value_ = *codable.doubleValue;
    userDefaults().set(key(), value_);
}

CodableDefault DoubleDefault::toCodable() const {
    CodableDefault codable;
    codable.doubleValue = value_;
    return codable;
}

}  // namespace zelvana::settings
