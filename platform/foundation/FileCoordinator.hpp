#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace zelvana::platform {

// Orders writes to one file among coordinating threads and processes with an
// advisory lock (flock) on a lock file kept in the runtime folder.
class FileCoordinator {
public:
    // Runs `writer` with the URL to write while holding the file's lock.
    // Returns false, with a description in `error`, when the lock cannot be
    // had; `writer` then does not run. A writer that throws also yields false.
    bool coordinateWriting(const std::filesystem::path& url,
                           const std::function<void(const std::filesystem::path&)>& writer,
                           std::string* error = nullptr);
};

}  // namespace zelvana::platform
