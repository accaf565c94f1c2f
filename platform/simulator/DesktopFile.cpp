#include "platform/simulator/DesktopFile.hpp"

#include <algorithm>
#include <cmath>
#include <concepts>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "platform/foundation/JSONText.hpp"

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

// A whole number from `lowest` to `highest`; anything else is refused rather
// than cast into a number the desktop would then trust.
template <std::integral T>
T integerFrom(const json& value, const std::string& what, T lowest = std::numeric_limits<T>::min(),
              T highest = std::numeric_limits<T>::max()) {
    const auto number = JSONText::integer<T>(value);
    if (!number || *number < lowest || *number > highest) {
        throw FileError(what + " is not a whole number from " + std::to_string(lowest) + " to " +
                        std::to_string(highest));
    }
    return *number;
}

template <typename Value>
Value valueFrom(const json& value, const std::string& what) {
    if constexpr (std::is_same_v<Value, bool>) {
        if (!value.is_boolean()) throw FileError(what + " is not true or false");
        return value.get<bool>();
    } else if constexpr (std::is_integral_v<Value>) {
        return integerFrom<Value>(value, what);
    } else if constexpr (std::is_same_v<Value, std::string>) {
        if (!value.is_string()) throw FileError(what + " is not text");
        return value.get<std::string>();
    } else {
        static_assert(std::is_same_v<Value, std::vector<SpaceID>>);
        if (!value.is_array()) throw FileError(what + " is not a list");
        std::vector<SpaceID> items;
        for (const auto& item : value) items.push_back(integerFrom<SpaceID>(item, what));
        return items;
    }
}

// "a window's \"layer\"": the member, named in every refusal.
std::string memberName(const std::string& what, const char* key) {
    return what + "'s \"" + key + "\"";
}

template <typename Value>
Value required(const json& object, const char* key, const std::string& what) {
    if (!object.contains(key)) throw FileError(what + " has no \"" + key + "\"");
    return valueFrom<Value>(object.at(key), memberName(what, key));
}

template <typename Value>
Value optional(const json& object, const char* key, const std::string& what, Value fallback) {
    if (!object.contains(key)) return fallback;
    return valueFrom<Value>(object.at(key), memberName(what, key));
}

json displayJson(const Display& display) {
    json object{{"number", display.number},         {"name", display.name},
                {"frame", rectJson(display.frame)}, {"vendor", display.vendor},
                {"model", display.model},           {"serial", display.serial},
                {"spaces", display.spaces},         {"shownSpace", display.shownSpace}};
    // Only one of its own: the one reading makes from the frame needs no
    // writing, and for a frame no taller than the menu bar it has no height
    // that reading would take.
    if (display.visibleFrame != Display::make(display.number, display.frame, "").visibleFrame) {
        object["visibleFrame"] = rectJson(display.visibleFrame);
    }
    return object;
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
    if (!object.contains("frame")) throw FileError("a display has no \"frame\"");
    auto display = Display::make(required<DisplayID>(object, "number", what),
                                 displayFrameFrom(object.at("frame"), "a display's frame"),
                                 optional<std::string>(object, "name", what, ""),
                                 optional<std::uint32_t>(object, "vendor", what, 0),
                                 optional<std::uint32_t>(object, "model", what, 0),
                                 optional<std::uint32_t>(object, "serial", what, 0));
    if (object.contains("visibleFrame")) {
        display.visibleFrame =
            displayFrameFrom(object.at("visibleFrame"), "a display's visibleFrame");
    }
    display.spaces = optional<std::vector<SpaceID>>(object, "spaces", what, {});
    display.shownSpace = optional<SpaceID>(object, "shownSpace", what, 0);
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
    const std::string what = "an application";
    DesktopApplication application;
    application.processIdentifier = required<int>(object, "pid", what);
    application.name = required<std::string>(object, "name", what);
    application.bundleIdentifier = optional<std::string>(object, "bundleIdentifier", what, "");
    application.bundleURL = optional<std::string>(object, "bundleURL", what,
                                                  "/Applications/" + application.name + ".app");
    application.iconName = optional<std::string>(object, "icon", what, "");
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

// Numbers the file gives its windows stay in the lower half, so the numbers
// the desktop hands out after them can never wrap onto one in use.
constexpr WindowNumber kLargestFileWindowNumber = std::numeric_limits<std::int32_t>::max();

DesktopWindow windowFrom(const json& object) {
    const std::string what = "a window";
    DesktopWindow window;
    if (object.contains("number")) {
        window.number = integerFrom<WindowNumber>(object.at("number"), memberName(what, "number"),
                                                  0, kLargestFileWindowNumber);
    }
    window.ownerPID = required<int>(object, "pid", what);
    window.name = optional<std::string>(object, "name", what, "");
    window.layer = optional<int>(object, "layer", what, 0);
    if (!object.contains("bounds")) throw FileError("a window has no \"bounds\"");
    window.bounds = rectFrom(object.at("bounds"), "a window's bounds");
    window.space = optional<SpaceID>(object, "space", what, 0);
    window.allSpaces = optional<bool>(object, "allSpaces", what, false);
    window.visible = optional<bool>(object, "visible", what, true);
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

bool overlap(const Rect& a, const Rect& b) {
    return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

// Displays lie side by side; no real arrangement puts one over another.
void checkFramesApart(const std::vector<Display>& displays) {
    for (std::size_t i = 0; i < displays.size(); ++i) {
        for (std::size_t j = i + 1; j < displays.size(); ++j) {
            if (overlap(displays[i].frame, displays[j].frame)) {
                throw FileError("display " + std::to_string(displays[j].number) +
                                "'s \"frame\" overlaps display " +
                                std::to_string(displays[i].number) + "'s");
            }
        }
    }
}

void checkDisplays(const std::vector<Display>& displays) {
    checkFramesApart(displays);
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

void readPermissions(const json& object, DesktopFile& file) {
    const std::string what = "the permissions";
    if (!object.is_object()) throw FileError("\"permissions\" is not a JSON object");
    file.accessibility = optional<bool>(object, "accessibility", what, true);
    file.inputMonitoring = optional<bool>(object, "inputMonitoring", what, true);
}

json systemShortcutJson(const DesktopFile::SystemShortcut& shortcut) {
    return json{{"keyCode", shortcut.keyCode},
                {"carbonModifiers", shortcut.carbonModifiers},
                {"enabled", shortcut.enabled}};
}

DesktopFile::SystemShortcut systemShortcutFrom(const json& object) {
    const std::string what = "a system shortcut";
    return {required<std::uint16_t>(object, "keyCode", what),
            required<std::uint16_t>(object, "carbonModifiers", what),
            optional<bool>(object, "enabled", what, true)};
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
    root["permissions"] = {{"accessibility", accessibility}, {"inputMonitoring", inputMonitoring}};
    if (systemShortcuts) {
        root["systemShortcuts"] = json::array();
        for (const auto& shortcut : *systemShortcuts) {
            root["systemShortcuts"].push_back(systemShortcutJson(shortcut));
        }
    }
    return root.dump(2) + "\n";
}

std::optional<DesktopFile> DesktopFile::fromJsonText(const std::string& text, std::string* error) {
    std::string refusal;
    const auto parsed = JSONText::parse(text, &refusal);
    if (!parsed) {
        if (error) *error = "the desktop is refused: " + refusal;
        return std::nullopt;
    }
    const json& root = *parsed;
    try {
        if (!root.is_object()) throw FileError("the desktop is not a JSON object");
        DesktopFile file;
        file.displays = listFrom<Display>(root, "displays", displayFrom);
        if (root.contains("mainDisplay")) {
            file.mainDisplay = integerFrom<DisplayID>(root.at("mainDisplay"), "\"mainDisplay\"");
        }
        file.applications = listFrom<DesktopApplication>(root, "applications", applicationFrom);
        file.windows = listFrom<DesktopWindow>(root, "windows", windowFrom);
        if (root.contains("permissions")) readPermissions(root.at("permissions"), file);
        if (root.contains("systemShortcuts")) {
            file.systemShortcuts =
                listFrom<SystemShortcut>(root, "systemShortcuts", systemShortcutFrom);
        }
        checkDisplays(file.displays);
        checkWindows(file);
        return file;
    } catch (const std::exception& failure) {
        if (error) *error = failure.what();
        return std::nullopt;
    }
}

}  // namespace zelvana::platform
