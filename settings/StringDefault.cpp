#include "settings/StringDefault.hpp"

#include <utility>

namespace zelvana::settings {

StringDefault::StringDefault(std::string key) : Default(std::move(key)), value_(storedString()) {}

void StringDefault::setValue(std::optional<std::string> value) {
    if (isOffMainQueue()) {
        return moveToMainQueue([this, value = std::move(value)] { setValue(value); });
    }
    if (value == value_) return;
    auto old = std::move(value_);
    value_ = std::move(value);
    textDidChange();
    writeDefault(stored(value_), stored(old));
}

void StringDefault::adoptWrittenValue(std::optional<std::string> value) {
    if (isOffMainQueue()) {
        return moveToMainQueue([this, value = std::move(value)] { adoptWrittenValue(value); });
    }
    if (value == value_) return;
    auto old = std::exchange(value_, std::move(value));
    textDidChange();
    announceWritten([this] { return stored(value_); }, [&old] { return stored(old); });
}

void StringDefault::update(const CodableDefault& codable) {
    if (codable.stringValue == value_) return;
    value_ = codable.stringValue;
    textDidChange();
    if (value_) {
        userDefaults().set(key(), *value_);
    } else {
        userDefaults().removeObject(key());
    }
}

CodableDefault StringDefault::toCodable() const {
    CodableDefault codable;
    codable.stringValue = value_;
    return codable;
}

}  // namespace zelvana::settings
