#include "platform/desktop/DesktopFile.hpp"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>

namespace zelvana::platform {

namespace {

using nlohmann::json;

// A shape error while reading; caught before it leaves this file.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

json rectJson(Rect rect) {
    return json::array({rect.minX(), rect.minY(), rect.width(), rect.height()});
}

Rect rectFrom(const json& value, const std::string& what) {
    if (!value.is_array() || value.size() != 4 ||
        !std::all_of(value.begin(), value.end(), [](const json& n) { return n.is_number(); })) {
        throw FileError(what + " is not [x, y, width, height]");
    }
    return Rect::make(value[0].get<double>(), value[1].get<double>(), value[2].get<double>(),
                      value[3].get<double>());
}

template <typename Value>
Value required(const json& object, const char* key, const std::string& what) {
    if (!object.contains(key)) throw FileError(what + " has no \"" + key + "\"");
    return object.at(key).get<Value>();
}

template <typename Value>
Value optional(const json& object, const char* key, Value fallback) {
    return object.contains(key) ? object.at(key).get<Value>() : fallback;
}

json displayJson(const Display& display) {
    return json{
        {"number", display.number},         {"name", display.name},
        {"frame", rectJson(display.frame)}, {"visibleFrame", rectJson(display.visibleFrame)},
        {"vendor", display.vendor},         {"model", display.model},
        {"serial", display.serial},         {"spaces", display.spaces},
        {"shownSpace", display.shownSpace}};
}

// No real display is larger than this many points a side, nor placed further
// away; anything else in a hand-written file would make screen-sized pictures
// and coordinates overflow.
constexpr double kLargestDisplayCoordinate = 100000;

Rect displayFrameFrom(const json& value, const std::string& what) {
    const Rect frame = rectFrom(value, what);
    const auto sensible = [](double v) {
        return std::isfinite(v) && std::abs(v) <= kLargestDisplayCoordinate;
    };
    if (!(frame.width() > 0 && frame.height() > 0) || !sensible(frame.minX()) ||
        !sensible(frame.minY()) || !sensible(frame.width()) || !sensible(frame.height())) {
        throw FileError(what + " is not a sensible display rectangle");
    }
    return frame;
}

Display displayFrom(const json& object) {
    const std::string what = "a display";
    auto display = Display::make(
        required<DisplayID>(object, "number", what),
        displayFrameFrom(object.at("frame"), "a display's frame"),
        optional<std::string>(object, "name", ""), optional<std::uint32_t>(object, "vendor", 0),
        optional<std::uint32_t>(object, "model", 0), optional<std::uint32_t>(object, "serial", 0));
    if (object.contains("visibleFrame")) {
        display.visibleFrame =
            displayFrameFrom(object.at("visibleFrame"), "a display's visibleFrame");
    }
    display.spaces = optional<std::vector<SpaceID>>(object, "spaces", {});
    display.shownSpace = optional<SpaceID>(object, "shownSpace", 0);
    return display;
}

json applicationJson(const DesktopApplication& application) {
    return json{{"pid", application.processIdentifier},
                {"name", application.name},
                {"bundleIdentifier", application.bundleIdentifier},
                {"bundleURL", application.bundleURL.string()},
                {"icon", application.iconName}};
}

DesktopApplication applicationFrom(const json& object) {
    DesktopApplication application;
    application.processIdentifier = required<int>(object, "pid", "an application");
    application.name = required<std::string>(object, "name", "an application");
    application.bundleIdentifier = optional<std::string>(object, "bundleIdentifier", "");
    application.bundleURL =
        optional<std::string>(object, "bundleURL", "/Applications/" + application.name + ".app");
    application.iconName = optional<std::string>(object, "icon", "");
    return application;
}

json windowJson(const DesktopWindow& window) {
    return json{{"number", window.number},
                {"pid", window.ownerPID},
                {"name", window.name},
                {"layer", window.layer},
                {"bounds", rectJson(window.bounds)},
                {"space", window.space},
                {"allSpaces", window.allSpaces},
                {"visible", window.visible}};
}

DesktopWindow windowFrom(const json& object) {
    DesktopWindow window;
    window.number = optional<WindowNumber>(object, "number", 0);
    window.ownerPID = required<int>(object, "pid", "a window");
    window.name = optional<std::string>(object, "name", "");
    window.layer = optional<int>(object, "layer", 0);
    window.bounds = rectFrom(object.at("bounds"), "a window's bounds");
    window.space = optional<SpaceID>(object, "space", 0);
    window.allSpaces = optional<bool>(object, "allSpaces", false);
    window.visible = optional<bool>(object, "visible", true);
    return window;
}

template <typename Item, typename Convert>
std::vector<Item> listFrom(const json& root, const char* key, Convert convert) {
    std::vector<Item> items;
    if (!root.contains(key)) return items;
    if (!root.at(key).is_array()) throw FileError(std::string("\"") + key + "\" is not a list");
    for (const auto& object : root.at(key)) {
        if (!object.is_object()) throw FileError(std::string("\"") + key + "\" holds a non-object");
        items.push_back(convert(object));
    }
    return items;
}

void checkDisplays(const std::vector<Display>& displays) {
    std::set<DisplayID> numbers;
    std::set<SpaceID> spaces;
    for (const auto& display : displays) {
        if (!numbers.insert(display.number).second) {
            throw FileError("display " + std::to_string(display.number) + " is listed twice");
        }
        for (SpaceID space : display.spaces) {
            if (space == 0 || !spaces.insert(space).second) {
                throw FileError("space " + std::to_string(space) + " is invalid or listed twice");
            }
        }
    }
}

void checkWindows(const DesktopFile& file) {
    std::set<SpaceID> spaces;
    for (const auto& display : file.displays)
        spaces.insert(display.spaces.begin(), display.spaces.end());
    for (const auto& window : file.windows) {
        const bool known = std::any_of(file.applications.begin(), file.applications.end(),
                                       [&](const auto& application) {
                                           return application.processIdentifier == window.ownerPID;
                                       });
        if (!known)
            throw FileError("a window belongs to unknown pid " + std::to_string(window.ownerPID));
        if (window.space != 0 && !spaces.count(window.space)) {
            throw FileError("a window is on unknown space " + std::to_string(window.space));
        }
    }
}

}  // namespace

std::string DesktopFile::toJsonText() const {
    json root;
    root["displays"] = json::array();
    for (const auto& display : displays) root["displays"].push_back(displayJson(display));
    if (mainDisplay) root["mainDisplay"] = *mainDisplay;
    root["applications"] = json::array();
    for (const auto& application : applications) {
        root["applications"].push_back(applicationJson(application));
    }
    root["windows"] = json::array();
    for (const auto& window : windows) root["windows"].push_back(windowJson(window));
    return root.dump(2) + "\n";
}

std::optional<DesktopFile> DesktopFile::fromJsonText(const std::string& text, std::string* error) {
    try {
        const json root = json::parse(text);
        if (!root.is_object()) throw FileError("the desktop is not a JSON object");
        DesktopFile file;
        file.displays = listFrom<Display>(root, "displays", displayFrom);
        if (root.contains("mainDisplay"))
            file.mainDisplay = root.at("mainDisplay").get<DisplayID>();
        file.applications = listFrom<DesktopApplication>(root, "applications", applicationFrom);
        file.windows = listFrom<DesktopWindow>(root, "windows", windowFrom);
        checkDisplays(file.displays);
        checkWindows(file);
        return file;
    } catch (const std::exception& failure) {
        if (error) *error = failure.what();
        return std::nullopt;
    }
}

}  // namespace zelvana::platform
