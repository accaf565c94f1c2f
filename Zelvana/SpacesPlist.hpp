#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zelvana::core {

// What the system's spaces preference file says, below its top-level
// "SpacesDisplayConfiguration".
struct PlistSpace {
    // "ManagedSpaceID"
    std::int64_t id = 0;
    // "uuid"
    std::string uuid;

    bool operator==(const PlistSpace&) const = default;
};

struct PlistMonitor {
    // "Current Space"
    PlistSpace currentSpace;
    // "Display Identifier"
    std::string displayId;
    // "Spaces"
    std::vector<PlistSpace> spaces;

    bool operator==(const PlistMonitor&) const = default;
};

// One entry of "Space Properties".
struct PlistSpaceWindows {
    std::string name;
    // Window numbers.
    std::vector<std::int64_t> windows;

    bool operator==(const PlistSpaceWindows&) const = default;
};

struct PlistAllSpaces {
    // "Management Data" > "Age"
    std::optional<double> age;
    // "Space Properties"
    std::vector<PlistSpaceWindows> spacesWindows;
    // "Management Data" > "Monitors"
    std::vector<PlistMonitor> monitors;

    bool operator==(const PlistAllSpaces&) const = default;
};

// Reads the spaces preference file, XML or binary. Entries of an unexpected
// shape are skipped; a missing level gives empty lists. Its diagnostics go to
// standard output.
class SpacesPlist {
public:
    // <home>/Library/Preferences/com.apple.spaces.plist, with the home
    // directory as it is when the reader is made.
    SpacesPlist();

    const std::filesystem::path& path() const { return path_; }
    // None when the file is missing, unreadable, not a property list, or has
    // no "SpacesDisplayConfiguration" dictionary.
    std::optional<PlistAllSpaces> read() const;

private:
    std::filesystem::path path_;
};

}  // namespace zelvana::core
