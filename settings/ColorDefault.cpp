#include "settings/ColorDefault.hpp"

#include "settings/CodableColor.hpp"

namespace zelvana::settings {

ColorDefault::ColorDefault(std::string key, platform::Color defaultValue)
    : Default(std::move(key)), value_(std::move(defaultValue)) {
    if (auto text = storedString(); text && !loadColor(*text)) {
        warnIgnored("the stored text is not a colour");
    }
}

void ColorDefault::setValue(platform::Color value) {
    if (isOffMainQueue()) return moveToMainQueue([this, value] { setValue(value); });
    auto oldText = colorJSON();
    value_ = std::move(value);
    auto text = colorJSON();
    if (!text) return warnIgnored("the new colour has no JSON text, so it is not stored");
    writeDefault(stored(text), stored(oldText));
}

std::optional<std::string> ColorDefault::colorJSON() const {
    return encodeColor(value_).jsonText();
}

bool ColorDefault::loadColor(const std::string& text) {
    auto color = CodableColor::fromJSONText(text);
    if (!color) return false;
    value_ = decodeColor(*color);
    return true;
}

void ColorDefault::update(const CodableDefault& codable) {
    if (!codable.stringValue) return;
    if (!loadColor(*codable.stringValue)) {
        warnIgnored("the snapshot's text is not a colour");
        return;
    }
    userDefaults().set(key(), *codable.stringValue);
}

CodableDefault ColorDefault::toCodable() const {
    CodableDefault codable;
    codable.stringValue = colorJSON();
    return codable;
}

}  // namespace zelvana::settings
