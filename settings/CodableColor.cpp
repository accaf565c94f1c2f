#include "settings/CodableColor.hpp"

#include <cmath>
#include <exception>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/foundation/JSONCursor.hpp"
#include "platform/foundation/JSONText.hpp"

namespace zelvana::settings {

void to_json(nlohmann::json& json, const CodableColor& color) {
    json = {{"red", color.red}, {"green", color.green}, {"blue", color.blue}};
    if (color.alpha) json["alpha"] = *color.alpha;
}

void from_json(const nlohmann::json& json, CodableColor& color) {
    const auto component = [&](const char* name) {
        const auto& value = json.at(name);
        if (!value.is_number()) throw std::invalid_argument(std::string(name) + " is not a number");
        return value.get<double>();
    };
    color.red = component("red");
    color.green = component("green");
    color.blue = component("blue");
    color.alpha.reset();
    if (json.contains("alpha") && !json.at("alpha").is_null()) color.alpha = component("alpha");
}

std::optional<std::string> CodableColor::jsonText() const {
    // JSON has no form for NaN or infinity.
    for (double part : {red, green, blue, alpha.value_or(1.0)}) {
        if (!std::isfinite(part)) return std::nullopt;
    }
    return nlohmann::json(*this).dump();
}

std::optional<CodableColor> CodableColor::fromJSONText(const std::string& text) {
    const auto json = platform::JSONText::parse(text);
    if (!json) return std::nullopt;
    try {
        return json->get<CodableColor>();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<CodableColor> readCodableColor(platform::JSONCursor& in) {
    static constexpr std::string_view members[] = {"red", "green", "blue", "alpha"};
    if (!in.beginObject()) return std::nullopt;
    std::optional<double> components[4];
    while (const auto member = in.nextMember(members)) components[*member] = in.real();
    if (in.failed() || !components[0] || !components[1] || !components[2]) return in.fail();
    return CodableColor{*components[0], *components[1], *components[2], components[3]};
}

CodableColor encodeColor(const platform::Color& color) {
    return CodableColor{color.red(), color.green(), color.blue(), color.alpha()};
}

platform::Color decodeColor(const CodableColor& color) {
    return platform::Color::rgb(color.red, color.green, color.blue, color.alpha.value_or(1.0));
}

}  // namespace zelvana::settings
