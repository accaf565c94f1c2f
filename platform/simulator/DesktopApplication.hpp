#pragma once

#include <filesystem>
#include <string>

namespace zelvana::platform {

// Another application running on the simulated desktop.
struct DesktopApplication {
    int processIdentifier = 0;
    std::string name;
    std::string bundleIdentifier;
    // Where its bundle is, such as /Applications/Safari.app.
    std::filesystem::path bundleURL;
    // The name of its icon image, such as "safari".
    std::string iconName;

    bool operator==(const DesktopApplication&) const = default;
};

}  // namespace zelvana::platform
