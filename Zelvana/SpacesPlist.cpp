#include "Zelvana/SpacesPlist.hpp"

#include <iostream>

#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::core {

namespace {

using platform::PropertyArray;
using platform::PropertyDictionary;
using platform::PropertyValue;

const PropertyDictionary* dictionaryAt(const PropertyDictionary* parent, const char* key) {
    if (!parent) return nullptr;
    const auto found = parent->find(key);
    return found == parent->end() ? nullptr : found->second.dictionaryValue();
}

const PropertyValue* valueAt(const PropertyDictionary& parent, const char* key) {
    const auto found = parent.find(key);
    return found == parent.end() ? nullptr : &found->second;
}

const std::string* stringAt(const PropertyDictionary& parent, const char* key) {
    const auto* value = valueAt(parent, key);
    return value ? value->stringValue() : nullptr;
}

// An array whose every element is a dictionary; none otherwise.
std::optional<std::vector<const PropertyDictionary*>> dictionariesAt(
    const PropertyDictionary* parent, const char* key) {
    const auto* value = parent ? valueAt(*parent, key) : nullptr;
    const auto* array = value ? value->arrayValue() : nullptr;
    if (!array) return std::nullopt;
    std::vector<const PropertyDictionary*> dictionaries;
    for (const auto& element : *array) {
        if (!element.isDictionary()) return std::nullopt;
        dictionaries.push_back(element.dictionaryValue());
    }
    return dictionaries;
}

// An array whose every element is an integer; none otherwise.
std::optional<std::vector<std::int64_t>> integersAt(const PropertyDictionary& parent,
                                                    const char* key) {
    const auto* value = valueAt(parent, key);
    const auto* array = value ? value->arrayValue() : nullptr;
    if (!array) return std::nullopt;
    std::vector<std::int64_t> integers;
    for (const auto& element : *array) {
        const auto* whole = element.integerValue();
        if (!whole) return std::nullopt;
        integers.push_back(*whole);
    }
    return integers;
}

std::optional<PlistSpace> spaceFrom(const PropertyDictionary* dictionary) {
    if (!dictionary) return std::nullopt;
    const auto* id = valueAt(*dictionary, "ManagedSpaceID");
    const auto* uuid = stringAt(*dictionary, "uuid");
    if (!id || !id->integerValue() || !uuid) return std::nullopt;
    return PlistSpace{*id->integerValue(), *uuid};
}

std::optional<PlistMonitor> monitorFrom(const PropertyDictionary& dictionary) {
    const auto* displayId = stringAt(dictionary, "Display Identifier");
    const auto current = spaceFrom(dictionaryAt(&dictionary, "Current Space"));
    const auto entries = dictionariesAt(&dictionary, "Spaces");
    if (!displayId || !current || !entries) return std::nullopt;
    PlistMonitor monitor{*current, *displayId, {}};
    for (const auto* entry : *entries) {
        if (auto space = spaceFrom(entry)) monitor.spaces.push_back(std::move(*space));
    }
    return monitor;
}

std::vector<PlistMonitor> monitorsFrom(const PropertyDictionary* management) {
    std::vector<PlistMonitor> monitors;
    for (const auto* entry : dictionariesAt(management, "Monitors")
                                 .value_or(std::vector<const PropertyDictionary*>{})) {
        if (auto monitor = monitorFrom(*entry)) monitors.push_back(std::move(*monitor));
    }
    return monitors;
}

std::vector<PlistSpaceWindows> spacesWindowsFrom(const PropertyDictionary& configuration) {
    std::vector<PlistSpaceWindows> spacesWindows;
    for (const auto* entry : dictionariesAt(&configuration, "Space Properties")
                                 .value_or(std::vector<const PropertyDictionary*>{})) {
        const auto* name = stringAt(*entry, "name");
        auto windows = integersAt(*entry, "windows");
        if (name && windows) spacesWindows.push_back({*name, std::move(*windows)});
    }
    return spacesWindows;
}

std::optional<double> ageFrom(const PropertyDictionary* management) {
    const auto* age = management ? valueAt(*management, "Age") : nullptr;
    return age && age->isNumber() ? age->asDouble() : std::nullopt;
}

}  // namespace

SpacesPlist::SpacesPlist()
    : path_(platform::SystemFolders::home().value_or("") /
            "Library/Preferences/com.apple.spaces.plist") {}

std::optional<PlistAllSpaces> SpacesPlist::read() const {
    const auto& files = platform::FileManager::defaultManager();
    const auto contents = files.fileExists(path_) ? files.contentsAtPath(path_) : std::nullopt;
    if (!contents) {
        std::cout << "Unable to find spaces info to read" << std::endl;
        return std::nullopt;
    }
    std::string error;
    const auto root = platform::PropertyListSerialization::fromData(*contents, &error);
    if (!root) {
        std::cout << "Error reading spaces: " << error << std::endl;
        return std::nullopt;
    }
    const auto* configuration = dictionaryAt(root->dictionaryValue(), "SpacesDisplayConfiguration");
    if (!configuration) return std::nullopt;
    const auto* management = dictionaryAt(configuration, "Management Data");
    return PlistAllSpaces{ageFrom(management), spacesWindowsFrom(*configuration),
                          monitorsFrom(management)};
}

}  // namespace zelvana::core
