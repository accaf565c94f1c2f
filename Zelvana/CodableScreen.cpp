#include "Zelvana/CodableScreen.hpp"

#include <algorithm>
#include <set>

#include "Zelvana/CodableSpace.hpp"
#include "Zelvana/JSONCoding.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/desktop/DisplayServices.hpp"

namespace zelvana::core {

std::string CodableScreen::hardwareKey() const {
    return std::to_string(vendor) + ":" + std::to_string(model) + ":" + std::to_string(serial);
}

CodableScreen CodableScreen::make(const platform::Screen& screen) {
    const DisplayNumber number = displayNumber(screen);
    return CodableScreen{number,
                         screen.frame(),
                         screen.localizedName(),
                         platform::displayVendorNumber(number),
                         platform::displayModelNumber(number),
                         platform::displaySerialNumber(number),
                         platform::Date::now()};
}

void to_json(nlohmann::json& json, const CodableScreen& screen) {
    json = {{"id", screen.id},
            {"frame", coding::encodeRect(screen.frame)},
            {"name", screen.name},
            {"vendor", screen.vendor},
            {"model", screen.model},
            {"serial", screen.serial},
            {"lastEncountered", coding::encodeDate(screen.lastEncountered)}};
}

void from_json(const nlohmann::json& json, CodableScreen& screen) {
    using coding::required;
    screen = CodableScreen{required(json, "id", coding::integer<DisplayNumber>),
                           required(json, "frame", coding::decodeRect),
                           required(json, "name", coding::text),
                           required(json, "vendor", coding::integer<std::uint32_t>),
                           required(json, "model", coding::integer<std::uint32_t>),
                           required(json, "serial", coding::integer<std::uint32_t>),
                           required(json, "lastEncountered", coding::decodeDate)};
}

void to_json(nlohmann::json& json, const CodableScreenMap& screens) {
    json = coding::encodeAlternating<CodableScreen>(screens);
}

void from_json(const nlohmann::json& json, CodableScreenMap& screens) {
    auto decoded = coding::decodeAlternating<CodableScreen>(json);
    screens = CodableScreenMap(decoded.begin(), decoded.end());
}

std::set<DisplayNumber> referencedDisplays(const std::vector<CodableSpace>& spaces) {
    // Thousands of spaces name a few displays, mostly the one before.
    std::set<DisplayNumber> referenced;
    std::optional<DisplayNumber> last;
    for (const auto& space : spaces) {
        for (const auto& [display, cell] : space.coordinates) {
            if (display != last) referenced.insert(display);
            last = display;
        }
    }
    return referenced;
}

bool CodableScreenMap::prune(const std::vector<CodableSpace>& spaces, platform::Date now) {
    return pruneKeeping(referencedDisplays(spaces), now);
}

bool CodableScreenMap::pruneKeeping(const std::set<DisplayNumber>& referenced, platform::Date now) {
    const auto removed = std::erase_if(*this, [&](const auto& entry) {
        const auto& [display, screen] = entry;
        const bool stale = now.timeIntervalSince(screen.lastEncountered) > unreferencedLifetime;
        return stale && !referenced.contains(display);
    });
    return removed > 0;
}

DisplayNumber displayNumber(const platform::Screen& screen) {
    return screen.screenNumber();
}

std::string displayName(const platform::Screen& screen) {
    const auto info = infoForDisplay(displayNumber(screen));
    if (!info) return "Unknown screen";
    const auto names = info->find("DisplayProductName");
    const auto* byLocale = names == info->end() ? nullptr : names->second.dictionaryValue();
    // The registry gives one preferred name, under its locale.
    const auto* name =
        byLocale && !byLocale->empty() ? byLocale->begin()->second.stringValue() : nullptr;
    return name ? *name : "Unnamed screen";
}

std::optional<platform::PropertyDictionary> infoForDisplay(DisplayNumber display) {
    const auto screens = platform::Screen::screens();
    if (std::none_of(screens.begin(), screens.end(), [display](const platform::Screen& screen) {
            return displayNumber(screen) == display;
        })) {
        return std::nullopt;
    }
    const auto matches = [](const platform::PropertyDictionary& info, const char* key,
                            std::uint32_t wanted) {
        const auto found = info.find(key);
        const auto* number = found == info.end() ? nullptr : found->second.integerValue();
        return number && *number == std::int64_t{wanted};
    };
    for (auto& info : platform::displayInfoDictionaries()) {
        if (matches(info, "DisplayVendorID", platform::displayVendorNumber(display)) &&
            matches(info, "DisplayProductID", platform::displayModelNumber(display))) {
            return std::move(info);
        }
    }
    return std::nullopt;
}

}  // namespace zelvana::core
