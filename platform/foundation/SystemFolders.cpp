#include "platform/foundation/SystemFolders.hpp"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace zelvana::platform::SystemFolders {
namespace {

namespace fs = std::filesystem;

// Unset, empty and relative values are ignored, as the XDG rules ask.
std::optional<fs::path> absoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    fs::path path(value);
    if (!path.is_absolute()) return std::nullopt;
    return path;
}

std::optional<fs::path> homeFromPasswordFile() {
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return std::nullopt;
    if (!found->pw_dir || !*found->pw_dir) return std::nullopt;
    return fs::path(found->pw_dir);
}

std::optional<fs::path> xdgFolder(const char* name, const fs::path& underHome) {
    if (auto path = absoluteFromEnvironment(name)) return path;
    if (auto folder = home()) return *folder / underHome;
    return std::nullopt;
}

// Creates the folder 0700 and accepts it only when it is a real folder of ours,
// since the fallback lives in the shared temporary directory.
bool ensurePrivateFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder.parent_path(), ec);
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return false;
    if ((info.st_mode & 0777) != 0700) return ::chmod(folder.c_str(), 0700) == 0;
    return true;
}

}  // namespace

std::optional<fs::path> preferences() {
    auto config = xdgFolder("XDG_CONFIG_HOME", ".config");
    if (!config) return std::nullopt;
    return *config / "zelvana" / "preferences";
}

std::optional<fs::path> applicationSupport() {
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}

std::optional<fs::path> caches() {
    return xdgFolder("XDG_CACHE_HOME", ".cache");
}

std::optional<fs::path> runtime() {
    fs::path folder;
    if (auto base = absoluteFromEnvironment("XDG_RUNTIME_DIR")) {
        folder = *base / "zelvana";
    } else {
        std::error_code ec;
        const fs::path temporary = fs::temp_directory_path(ec);
        folder = (ec ? fs::path("/tmp") : temporary) / ("zelvana-" + std::to_string(::geteuid()));
    }
    if (!ensurePrivateFolder(folder)) return std::nullopt;
    return folder;
}

std::optional<fs::path> home() {
    if (auto path = absoluteFromEnvironment("HOME")) return path;
    return homeFromPasswordFile();
}

}  // namespace zelvana::platform::SystemFolders
