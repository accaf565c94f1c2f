#include "Logging/BundleFinder.hpp"

#include <system_error>

#include "Logging/Diagnostics.hpp"

namespace zelvana::logging {

namespace fs = std::filesystem;

std::vector<fs::path> BundleFinder::candidateFolders() {
    const auto& main = platform::Bundle::main();
    std::vector<fs::path> folders{main.resourcePath()};
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) folders.push_back(executable.parent_path());
    folders.push_back(main.bundlePath());
    return folders;
}

std::optional<platform::Bundle> BundleFinder::find(const std::vector<fs::path>& folders) {
    for (const auto& folder : folders) {
        if (folder.empty()) continue;
        if (auto bundle = platform::Bundle::open(folder / bundleName)) return bundle;
    }
    return std::nullopt;
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
