#include "settings/DateDefault.hpp"

namespace zelvana::settings {

DateDefault::DateDefault(std::string key) : Default(std::move(key)), value_(storedDate()) {}

void DateDefault::setValue(std::optional<platform::Date> value) {
    if (isOffMainQueue()) return moveToMainQueue([this, value] { setValue(value); });
    if (value == value_) return;
    const auto old = value_;
    value_ = value;
    writeDefault(stored(value_), stored(old));
}

void DateDefault::update(const CodableDefault& codable) {
    if (codable.dateValue == value_) return;
    value_ = codable.dateValue;
    if (value_) {
        userDefaults().set(key(), *value_);
    } else {
        userDefaults().removeObject(key());
    }
}

CodableDefault DateDefault::toCodable() const {
    CodableDefault codable;
    codable.dateValue = value_;
    return codable;
}

}  // namespace zelvana::settings
