#include "settings/BoolDefault.hpp"

namespace zelvana::settings {

BoolDefault::BoolDefault(std::string key)
    : Default(std::move(key)), value_(storedBool().value_or(false)) {}

void BoolDefault::setValue(bool value) {
    if (isOffMainQueue()) return moveToMainQueue([this, value] { setValue(value); });
    if (value == value_) return;
    const bool old = value_;
    value_ = value;
    writeDefault(value, old);
}

void BoolDefault::update(const CodableDefault& codable) {
    if (!codable.boolValue || *codable.boolValue == value_) return;
    value_ = *codable.boolValue;
    userDefaults().set(key(), value_);
}

CodableDefault BoolDefault::toCodable() const {
    CodableDefault codable;
    codable.boolValue = value_;
    return codable;
}

}  // namespace zelvana::settings
