#include "fuzz/FuzzSupport.hpp"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace zelvana::fuzz {

namespace {
std::string temporaryFolder;
void removeTemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(temporaryFolder, ignored);
}
}  // namespace

void useTemporaryHome() {
    // In memory where there is such a folder: the targets that write files
    // sync them on every input.
    std::error_code missing;
    const auto base = std::filesystem::is_directory("/dev/shm", missing)
                          ? std::filesystem::path("/dev/shm")
                          : std::filesystem::temp_directory_path();
    std::string& folder = temporaryFolder;
    folder = (base / "zelvana-fuzz-XXXXXX").string();
    if (!::mkdtemp(folder.data())) std::abort();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const auto path = std::filesystem::path(folder) / name;
        std::filesystem::create_directories(path);
        ::setenv(name, path.c_str(), 1);
    }
    const auto runtime = std::filesystem::path(folder) / "runtime";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    std::atexit(removeTemporaryFolder);
}

}  // namespace zelvana::fuzz
