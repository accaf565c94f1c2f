#include "settings/Config.hpp"

#include <exception>

#include <nlohmann/json.hpp>

#include "platform/foundation/JSONText.hpp"

namespace zelvana::settings {

namespace {

using nlohmann::json;

std::optional<std::map<std::string, CodableDefault>> decodeDefaults(const json& object) {
    if (!object.is_object()) return std::nullopt;
    std::map<std::string, CodableDefault> defaults;
    for (const auto& [key, value] : object.items()) {
        auto codable = CodableDefault::fromJSON(value);
        if (!codable) return std::nullopt;
        defaults.emplace(key, std::move(*codable));
    }
    return defaults;
}

std::optional<Config> decodeConfig(const json& root) {
    if (!root.is_object()) return std::nullopt;
    const auto bundleId = root.find("bundleId");
    const auto version = root.find("version");
    const auto timestamp = root.find("timestamp");
    const auto defaults = root.find("defaults");
    if (bundleId == root.end() || !bundleId->is_string() || version == root.end() ||
        !version->is_string() || timestamp == root.end() || !timestamp->is_number() ||
        defaults == root.end()) {
        return std::nullopt;
    }
    // A stamp no calendar can follow would be stored and then compared forever.
    const platform::Date stamp{timestamp->get<double>()};
    if (!stamp.hasFourDigitYear()) return std::nullopt;
    auto decodedDefaults = decodeDefaults(*defaults);
    if (!decodedDefaults) return std::nullopt;
    return Config{bundleId->get<std::string>(), version->get<std::string>(), stamp,
                  std::move(*decodedDefaults)};
}

}  // namespace

std::optional<std::string> Config::encode() const {
    json members = json::object();
    for (const auto& [key, codable] : defaults) members[key] = codable.toJSON();
    const json root = {{"bundleId", bundleId},
                       {"version", version},
                       {"timestamp", timestamp.sinceReferenceDate},
                       {"defaults", members}};
    return platform::JSONText::dump(root, 2);
}

std::optional<Config> Config::decode(const std::string& text) {
    const auto root = platform::JSONText::parse(text);
    if (!root) return std::nullopt;
    try {
        return decodeConfig(*root);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace zelvana::settings
