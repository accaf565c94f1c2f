#include "settings/IntDefault.hpp"

namespace zelvana::settings {

IntDefault::IntDefault(std::string key, std::int64_t defaultValue) : Default(std::move(key)) {
    const std::int64_t stored = storedInteger().value_or(0);
    value_ = stored == 0 ? defaultValue : stored;
}

void IntDefault::setValue(std::int64_t value) {
    if (isOffMainQueue()) return moveToMainQueue([this, value] { setValue(value); });
    if (value == value_) return;
    const std::int64_t old = value_;
    value_ = value;
    writeDefault(value, old);
}

void IntDefault::update(const CodableDefault& codable) {
    if (!codable.intValue || *codable.intValue == value_) return;
    value_ = *codable.intValue;
    userDefaults().set(key(), value_);
}

CodableDefault IntDefault::toCodable() const {
    CodableDefault codable;
    codable.intValue = value_;
    return codable;
}

}  // namespace zelvana::settings
