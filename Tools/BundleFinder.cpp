#include "Tools/BundleFinder.hpp"

#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace zelvana::tools {

namespace fs = std::filesystem;

std::vector<fs::path> BundleFinder::candidateFolders() {
    return platform::Bundle::packageBundleFolders();
}

std::optional<platform::Bundle> BundleFinder::find(const std::vector<fs::path>& folders) {
    return platform::Bundle::findIn(folders, bundleName);
}

platform::Bundle& toolsResourceBundle() {
    static platform::Bundle bundle = [] {
        auto found = BundleFinder::find(BundleFinder::candidateFolders());
        if (!found) {
            std::fputs("Fatal error: unable to find bundle named Tools_Tools\n", stderr);
            std::abort();
        }
        return std::move(*found);
    }();
    return bundle;
}

}  // namespace zelvana::tools
