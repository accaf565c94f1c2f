#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/appkit/Bundle.hpp"

namespace zelvana::logging {

// Finds the logging package's resource bundle, "Logging_Logging.bundle".
class BundleFinder {
public:
    static constexpr const char* bundleName = "Logging_Logging.bundle";

    BundleFinder() = delete;

    // The main bundle's resource folder, the folder holding the running
    // executable (where the package's code lives) and the main bundle's own
    // folder, in that order.
    static std::vector<std::filesystem::path> candidateFolders();
    // The first candidate that holds a bundle that opens.
    static std::optional<platform::Bundle> find(const std::vector<std::filesystem::path>& folders);
};

// Looked up once, then kept for the process; stops the process with
// "unable to find bundle named Logging_Logging" when no candidate has it.
platform::Bundle& loggingResourceBundle();

}  // namespace zelvana::logging
