#include "Logging/BundleFinder.hpp"

#include <system_error>

#include "Logging/Diagnostics.hpp"

namespace zelvana::logging {

namespace fs = std::filesystem;

std::vector<fs::path> BundleFinder::candidateFolders() {
    return platform::Bundle::packageBundleFolders();
}

std::optional<platform::Bundle> BundleFinder::find(const std::vector<fs::path>& folders) {
    return platform::Bundle::findIn(folders, bundleName);
}

platform::Bundle& loggingResourceBundle() {
    static platform::Bundle bundle = [] {
        auto found = BundleFinder::find(BundleFinder::candidateFolders());
        if (!found) fatalError("unable to find bundle named Logging_Logging");
        return std::move(*found);
    }();
    return bundle;
}

}  // namespace zelvana::logging
