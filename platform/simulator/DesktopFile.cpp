#include "platform/simulator/DesktopFile.hpp"

#include <algorithm>
#include <cmath>
#include <concepts>
#include <limits>
#include <map>
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

// Where a value sits in the file, named as a person finds it there:
// "displays[1].spaces[2]", lists counted from 0.
std::string item(const std::string& list, std::size_t index) {
    return list + "[" + std::to_string(index) + "]";
}

std::string member(const std::string& object, const char* key) {
    return object.empty() ? key : object + "." + key;
}

// Members come in key order, as a JSON object keeps them, so that the text
// reads as it always has.
using JSONText::Writer;

void writeRect(Writer& out, Rect rect) {
    out.beginArray();
    for (const double side : {rect.minX(), rect.minY(), rect.width(), rect.height()}) {
        out.value(side);
    }
    out.endArray();
}

Rect rectFrom(const json& value, const std::string& where) {
    if (!value.is_array() || value.size() != 4 ||
        !std::all_of(value.begin(), value.end(), [](const json& n) { return n.is_number(); })) {
        throw FileError(where + " is not [x, y, width, height]");
    }
    return Rect::make(value[0].get<double>(), value[1].get<double>(), value[2].get<double>(),
                      value[3].get<double>());
}

// A whole number from `lowest` to `highest`; anything else is refused rather
// than cast into a number the desktop would then trust.
template <std::integral T>
T integerFrom(const json& value, const std::string& where, T lowest = std::numeric_limits<T>::min(),
              T highest = std::numeric_limits<T>::max()) {
    const auto number = JSONText::integer<T>(value);
    if (!number || *number < lowest || *number > highest) {
        throw FileError(where + " is not a whole number from " + std::to_string(lowest) + " to " +
                        std::to_string(highest));
    }
    return *number;
}

// Space numbers start at 1: 0 stands for no space.
SpaceID spaceFrom(const json& value, const std::string& where) {
    return integerFrom<SpaceID>(value, where, 1);
}

template <typename Value>
Value valueFrom(const json& value, const std::string& where) {
    if constexpr (std::is_same_v<Value, bool>) {
        if (!value.is_boolean()) throw FileError(where + " is not true or false");
        return value.get<bool>();
    } else if constexpr (std::is_integral_v<Value>) {
        return integerFrom<Value>(value, where);
    } else if constexpr (std::is_same_v<Value, std::string>) {
        if (!value.is_string()) throw FileError(where + " is not text");
        return value.get<std::string>();
    } else {
        static_assert(std::is_same_v<Value, std::vector<SpaceID>>);
        if (!value.is_array()) throw FileError(where + " is not a list");
        std::vector<SpaceID> items;
        for (const auto& space : value)
            items.push_back(spaceFrom(space, item(where, items.size())));
        return items;
    }
}

const json& requiredMember(const json& object, const char* key, const std::string& where) {
    if (!object.contains(key)) throw FileError(member(where, key) + " is missing");
    return object.at(key);
}

template <typename Value>
Value required(const json& object, const char* key, const std::string& where) {
    return valueFrom<Value>(requiredMember(object, key, where), member(where, key));
}

template <typename Value>
Value optional(const json& object, const char* key, const std::string& where, Value fallback) {
    if (!object.contains(key)) return fallback;
    return valueFrom<Value>(object.at(key), member(where, key));
}

void writeDisplay(Writer& out, const Display& display) {
    out.beginObject();
    out.key("frame");
    writeRect(out, display.frame);
    out.member("model", display.model);
    out.member("name", display.name);
    out.member("number", display.number);
    out.member("serial", display.serial);
    // 0 only before the desktop gave the display its first space.
    if (display.shownSpace != 0) out.member("shownSpace", display.shownSpace);
    // Left out as read: an empty list would be refused.
    if (!display.spaces.empty()) {
        out.key("spaces");
        out.beginArray();
        for (const SpaceID space : display.spaces) out.value(space);
        out.endArray();
    }
    out.member("vendor", display.vendor);
    // Only one of its own: reading makes the usual one from the frame.
    if (display.visibleFrame != Display::make(display.number, display.frame, "").visibleFrame) {
        out.key("visibleFrame");
        writeRect(out, display.visibleFrame);
    }
    out.endObject();
}

// No real display is larger than this many points a side, nor placed further
// away; anything else in a hand-written file would make screen-sized pictures
// and coordinates overflow.
constexpr double kLargestDisplayCoordinate = 100000;

bool sensibleCoordinate(double value, double largest) {
    return std::isfinite(value) && std::abs(value) <= largest;
}

bool sensibleRect(const Rect& rect, double largest) {
    return sensibleCoordinate(rect.minX(), largest) && sensibleCoordinate(rect.minY(), largest) &&
           sensibleCoordinate(rect.width(), largest) && sensibleCoordinate(rect.height(), largest);
}

Rect displayFrameFrom(const json& value, const std::string& where) {
    const Rect frame = rectFrom(value, where);
    if (!(frame.width() > 0 && frame.height() > 0) ||
        !sensibleRect(frame, kLargestDisplayCoordinate)) {
        throw FileError(where + " is not a sensible display rectangle");
    }
    return frame;
}

Display displayFrom(const json& object, const std::string& where) {
    const std::string frameEntry = member(where, "frame");
    auto display =
        Display::make(required<DisplayID>(object, "number", where),
                      displayFrameFrom(requiredMember(object, "frame", where), frameEntry),
                      optional<std::string>(object, "name", where, ""),
                      optional<std::uint32_t>(object, "vendor", where, 0),
                      optional<std::uint32_t>(object, "model", where, 0),
                      optional<std::uint32_t>(object, "serial", where, 0));
    if (display.frame.height() <= Display::menuBarHeight) {
        throw FileError(frameEntry + " is no taller than the menu bar (" +
                        std::to_string(static_cast<int>(Display::menuBarHeight)) + " points)");
    }
    if (object.contains("visibleFrame")) {
        display.visibleFrame =
            displayFrameFrom(object.at("visibleFrame"), member(where, "visibleFrame"));
    }
    display.spaces = optional<std::vector<SpaceID>>(object, "spaces", where, {});
    // Left out, the desktop gives the display a new space; an empty list
    // is a mistake in the file, not a display without spaces.
    if (object.contains("spaces") && display.spaces.empty()) {
        throw FileError(member(where, "spaces") + " is empty; a display has at least one space");
    }
    if (object.contains("shownSpace")) {
        display.shownSpace = spaceFrom(object.at("shownSpace"), member(where, "shownSpace"));
        if (std::find(display.spaces.begin(), display.spaces.end(), display.shownSpace) ==
            display.spaces.end()) {
            throw FileError(member(where, "shownSpace") + " is not one of " +
                            member(where, "spaces"));
        }
    }
    return display;
}

void writeApplication(Writer& out, const DesktopApplication& application) {
    out.beginObject();
    out.member("bundleIdentifier", application.bundleIdentifier);
    out.member("bundleURL", application.bundleURL.string());
    out.member("icon", application.iconName);
    out.member("name", application.name);
    out.member("pid", application.processIdentifier);
    out.endObject();
}

DesktopApplication applicationFrom(const json& object, const std::string& where) {
    DesktopApplication application;
    application.processIdentifier = required<int>(object, "pid", where);
    application.name = required<std::string>(object, "name", where);
    application.bundleIdentifier = optional<std::string>(object, "bundleIdentifier", where, "");
    application.bundleURL = optional<std::string>(object, "bundleURL", where,
                                                  "/Applications/" + application.name + ".app");
    application.iconName = optional<std::string>(object, "icon", where, "");
    return application;
}

void writeWindow(Writer& out, const DesktopWindow& window) {
    out.beginObject();
    out.member("allSpaces", window.allSpaces);
    out.key("bounds");
    writeRect(out, window.bounds);
    out.member("layer", window.layer);
    out.member("name", window.name);
    out.member("number", window.number);
    out.member("pid", window.ownerPID);
    out.member("space", window.space);
    out.member("visible", window.visible);
    out.endObject();
}

// Numbers the file gives its windows stay in the lower half, so the numbers
// the desktop hands out after them can never wrap onto one in use.
constexpr WindowNumber kLargestFileWindowNumber = std::numeric_limits<std::int32_t>::max();

// Far beyond any arrangement of displays, yet small enough that sums of
// window edges stay exact.
constexpr double kLargestWindowCoordinate = 1e7;

Rect windowBoundsFrom(const json& value, const std::string& where) {
    const Rect bounds = rectFrom(value, where);
    if (!sensibleRect(bounds, kLargestWindowCoordinate)) {
        throw FileError(where + " holds a number beyond ±10000000");
    }
    if (bounds.width() < 0 || bounds.height() < 0) {
        throw FileError(where + " has a negative width or height");
    }
    return bounds;
}

DesktopWindow windowFrom(const json& object, const std::string& where) {
    DesktopWindow window;
    if (object.contains("number")) {
        window.number = integerFrom<WindowNumber>(object.at("number"), member(where, "number"), 0,
                                                  kLargestFileWindowNumber);
    }
    window.ownerPID = required<int>(object, "pid", where);
    window.name = optional<std::string>(object, "name", where, "");
    window.layer = optional<int>(object, "layer", where, 0);
    window.bounds =
        windowBoundsFrom(requiredMember(object, "bounds", where), member(where, "bounds"));
    window.space = optional<SpaceID>(object, "space", where, 0);
    window.allSpaces = optional<bool>(object, "allSpaces", where, false);
    window.visible = optional<bool>(object, "visible", where, true);
    return window;
}

template <typename Item, typename Convert>
std::vector<Item> listFrom(const json& root, const char* key, Convert convert) {
    std::vector<Item> items;
    if (!root.contains(key)) return items;
    if (!root.at(key).is_array()) throw FileError(std::string(key) + " is not a list");
    for (const auto& object : root.at(key)) {
        const std::string where = item(key, items.size());
        if (!object.is_object()) throw FileError(where + " is not a JSON object");
        items.push_back(convert(object, where));
    }
    return items;
}

bool overlap(const Rect& a, const Rect& b) {
    return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

std::string displayEntry(std::size_t index) {
    return item("displays", index);
}

// Displays lie side by side; no real arrangement puts one over another.
void checkFramesApart(const std::vector<Display>& displays) {
    for (std::size_t i = 0; i < displays.size(); ++i) {
        for (std::size_t j = i + 1; j < displays.size(); ++j) {
            if (overlap(displays[i].frame, displays[j].frame)) {
                throw FileError(member(displayEntry(j), "frame") + " overlaps " +
                                member(displayEntry(i), "frame"));
            }
        }
    }
}

// Display numbers and space numbers each name one thing on the desktop.
void checkNumbersOnce(const std::vector<Display>& displays) {
    std::map<DisplayID, std::size_t> numbers;
    std::map<SpaceID, std::size_t> spaces;
    for (std::size_t index = 0; index < displays.size(); ++index) {
        const auto& display = displays[index];
        const auto [number, newNumber] = numbers.emplace(display.number, index);
        if (!newNumber) {
            throw FileError(member(displayEntry(index), "number") + " is " +
                            std::to_string(display.number) + ", as is " +
                            member(displayEntry(number->second), "number"));
        }
        for (std::size_t position = 0; position < display.spaces.size(); ++position) {
            const auto [space, newSpace] = spaces.emplace(display.spaces[position], index);
            if (newSpace) continue;
            const auto entry = item(member(displayEntry(index), "spaces"), position);
            throw FileError(entry + " is space " + std::to_string(display.spaces[position]) +
                            ", which " + displayEntry(space->second) + " holds already");
        }
    }
}

void checkDisplays(const DesktopFile& file) {
    if (file.displays.empty()) {
        throw FileError("displays is empty; a desktop has at least one display");
    }
    checkFramesApart(file.displays);
    checkNumbersOnce(file.displays);
    const auto main = file.mainDisplay;
    if (main && std::none_of(file.displays.begin(), file.displays.end(),
                             [&](const Display& display) { return display.number == *main; })) {
        throw FileError("mainDisplay is " + std::to_string(*main) + ", which no display has");
    }
}

void checkWindows(const DesktopFile& file) {
    std::set<SpaceID> spaces;
    for (const auto& display : file.displays)
        spaces.insert(display.spaces.begin(), display.spaces.end());
    for (std::size_t index = 0; index < file.windows.size(); ++index) {
        const auto& window = file.windows[index];
        const std::string where = item("windows", index);
        const bool known = std::any_of(file.applications.begin(), file.applications.end(),
                                       [&](const auto& application) {
                                           return application.processIdentifier == window.ownerPID;
                                       });
        if (!known) {
            throw FileError(member(where, "pid") + " is " + std::to_string(window.ownerPID) +
                            ", which no application has");
        }
        if (window.space != 0 && !spaces.count(window.space)) {
            throw FileError(member(where, "space") + " is " + std::to_string(window.space) +
                            ", which no display has");
        }
    }
}

void readPermissions(const json& object, DesktopFile& file) {
    const std::string where = "permissions";
    if (!object.is_object()) throw FileError(where + " is not a JSON object");
    file.accessibility = optional<bool>(object, "accessibility", where, true);
    file.inputMonitoring = optional<bool>(object, "inputMonitoring", where, true);
}

void writeSystemShortcut(Writer& out, const DesktopFile::SystemShortcut& shortcut) {
    out.beginObject();
    out.member("carbonModifiers", shortcut.carbonModifiers);
    out.member("enabled", shortcut.enabled);
    out.member("keyCode", shortcut.keyCode);
    out.endObject();
}

template <typename Item>
void writeList(Writer& out, const char* key, const std::vector<Item>& items,
               void (*write)(Writer&, const Item&)) {
    out.key(key);
    out.beginArray();
    for (const auto& item : items) write(out, item);
    out.endArray();
}

// The layouts by the names the system's input menu gives them.
constexpr std::pair<const char*, KeyboardLayout::Kind> kLayoutNames[] = {
    {"U.S.", KeyboardLayout::Kind::us},
    {"German", KeyboardLayout::Kind::german},
};

const char* layoutName(KeyboardLayout::Kind kind) {
    for (const auto& [name, layout] : kLayoutNames) {
        if (layout == kind) return name;
    }
    return kLayoutNames[0].first;
}

KeyboardLayout::Kind layoutFrom(const json& value) {
    const std::string where = "keyboardLayout";
    const auto name = valueFrom<std::string>(value, where);
    for (const auto& [known, layout] : kLayoutNames) {
        if (name == known) return layout;
    }
    throw FileError(where + " is \"" + name + "\", not \"U.S.\" or \"German\"");
}

DesktopFile::SystemShortcut systemShortcutFrom(const json& object, const std::string& where) {
    return {required<std::uint16_t>(object, "keyCode", where),
            required<std::uint16_t>(object, "carbonModifiers", where),
            optional<bool>(object, "enabled", where, true)};
}

}  // namespace

// Written as it goes: a desktop of thousands of windows is saved at every quit.
std::string DesktopFile::toJsonText() const {
    Writer out(2);
    out.beginObject();
    writeList(out, "applications", applications, writeApplication);
    writeList(out, "displays", displays, writeDisplay);
    out.member("keyboardLayout", std::string(layoutName(keyboardLayout)));
    if (mainDisplay) {
        out.member("mainDisplay", *mainDisplay);
    }
    out.key("permissions");
    out.beginObject();
    out.member("accessibility", accessibility);
    out.member("inputMonitoring", inputMonitoring);
    out.endObject();
    if (systemShortcuts) writeList(out, "systemShortcuts", *systemShortcuts, writeSystemShortcut);
    writeList(out, "windows", windows, writeWindow);
    out.endObject();
    return out.take() + "\n";
}

std::optional<DesktopFile> DesktopFile::fromJsonText(const std::string& text, std::string* error) {
    std::string refusal;
    const auto parsed = JSONText::parse(text, &refusal);
    if (!parsed) {
        if (error) *error = refusal;
        return std::nullopt;
    }
    const json& root = *parsed;
    try {
        if (!root.is_object()) throw FileError("the file is not a JSON object");
        DesktopFile file;
        requiredMember(root, "displays", "");
        file.displays = listFrom<Display>(root, "displays", displayFrom);
        if (root.contains("mainDisplay")) {
            file.mainDisplay = integerFrom<DisplayID>(root.at("mainDisplay"), "mainDisplay");
        }
        file.applications = listFrom<DesktopApplication>(root, "applications", applicationFrom);
        file.windows = listFrom<DesktopWindow>(root, "windows", windowFrom);
        if (root.contains("permissions")) readPermissions(root.at("permissions"), file);
        if (root.contains("keyboardLayout")) {
            file.keyboardLayout = layoutFrom(root.at("keyboardLayout"));
        }
        if (root.contains("systemShortcuts")) {
            file.systemShortcuts =
                listFrom<SystemShortcut>(root, "systemShortcuts", systemShortcutFrom);
        }
        checkDisplays(file);
        checkWindows(file);
        return file;
    } catch (const std::exception& failure) {
        if (error) *error = failure.what();
        return std::nullopt;
    }
}

}  // namespace zelvana::platform
