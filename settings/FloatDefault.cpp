#include "settings/FloatDefault.hpp"

namespace zelvana::settings {

FloatDefault::FloatDefault(std::string key, float defaultValue) : Default(std::move(key)) {
    const auto stored = static_cast<float>(storedReal().value_or(0.0));
    value_ = stored == 0.0F ? defaultValue : stored;
}

void FloatDefault::setValue(float value) {
    if (isOffMainQueue()) return moveToMainQueue([this, value] { setValue(value); });
    if (value == value_) return;
    const float old = value_;
    value_ = value;
    writeDefault(double{value}, double{old});
}

void FloatDefault::update(const CodableDefault& codable) {
    if (!codable.floatValue || *codable.floatValue == value_) return;
    value_ = *codable.floatValue;
    userDefaults().set(key(), double{value_});
}

CodableDefault FloatDefault::toCodable() const {
    CodableDefault codable;
    codable.floatValue = value_;
    return codable;
}

}  // namespace zelvana::settings
