#include "platform/testing/TemporaryFolders.hpp"

#include <sys/stat.h>

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace zelvana::platform::testing {

// Throws only before anything is changed: a test must not run against the real home.
TemporaryFolders::TemporaryFolders() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelvana-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    root_ = pattern;
    point("HOME", home());
    point("XDG_CONFIG_HOME", config());
    point("XDG_DATA_HOME", data());
    point("XDG_CACHE_HOME", cache());
    point("XDG_RUNTIME_DIR", runtime());
    ::chmod(runtime().c_str(), 0700);
}

TemporaryFolders::~TemporaryFolders() {
    // Restored newest first, so a variable set twice ends at its original value.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second) {
            ::setenv(it->first.c_str(), it->second->c_str(), 1);
        } else {
            ::unsetenv(it->first.c_str());
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

void TemporaryFolders::point(const std::string& variable, const std::filesystem::path& folder) {
    const char* previous = std::getenv(variable.c_str());
    saved_.emplace_back(variable, previous ? std::optional<std::string>(previous) : std::nullopt);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    ::setenv(variable.c_str(), folder.c_str(), 1);
}

}  // namespace zelvana::platform::testing
