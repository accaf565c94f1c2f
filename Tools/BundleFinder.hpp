#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/appkit/Bundle.hpp"

namespace zelvana::tools {

// Finds the utilities package's resource bundle, "Tools_Tools.bundle".
class BundleFinder {
public:
    static constexpr const char* bundleName = "Tools_Tools.bundle";

    BundleFinder() = delete;

    // The main bundle's resource folder, the folder of the code that holds the
    // package (the running executable's) and the main bundle's own folder.
    static std::vector<std::filesystem::path> candidateFolders();
    // The first candidate that holds a bundle that opens; missing folders are skipped.
    static std::optional<platform::Bundle> find(const std::vector<std::filesystem::path>& folders);
};

// Looked up once, then kept for the process; stops the process with
// "unable to find bundle named Tools_Tools" when no candidate has it.
platform::Bundle& toolsResourceBundle();

}  // namespace zelvana::tools
