#include "platform/foundation/FileCoordinator.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <system_error>

#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

// Symlinked and relative spellings of one file share one lock.
std::string canonicalKey(const fs::path& url) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(url, ec), ec);
    if (ec) resolved = fs::absolute(url, ec).lexically_normal();
    return resolved.string();
}

// FNV-1a: stable across processes and builds, unlike std::hash.
std::string hexHash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

// flock orders processes; this orders the threads of one process before they
// reach the lock file, so they wait on a mutex rather than in the kernel.
std::mutex& processMutex(const std::string& key) {
    static std::mutex tableMutex;
    static std::map<std::string, std::unique_ptr<std::mutex>> table;
    std::lock_guard guard(tableMutex);
    auto& slot = table[key];
    if (!slot) slot = std::make_unique<std::mutex>();
    return *slot;
}

// Paths this thread already holds, so a writer that coordinates again on the
// same file runs instead of waiting on itself.
thread_local std::set<std::string> heldByThisThread;

class LockFile {
  public:
    ~LockFile() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the flock
    }
    bool acquire(const std::string& key, std::string* error);

  private:
    int fd_ = -1;
};

bool LockFile::acquire(const std::string& key, std::string* error) {
    auto runtime = SystemFolders::runtime();
    if (!runtime) return fail(error, "no runtime folder for the lock of '" + key + "'");
    const fs::path folder = *runtime / "coordination";
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path path = folder / (hexHash(key) + ".lock");
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        const int code = errno;
        return fail(error, "could not open lock '" + path.string() + "' for '" + key +
                               "': " + std::strerror(code));
    }
    int result = 0;
    while ((result = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (result == 0) return true;
    const int code = errno;
    return fail(error, "could not lock '" + key + "': " + std::strerror(code));
}

bool runWriter(const std::function<void(const fs::path&)>& writer, const fs::path& url,
               std::string* error) {
    try {
        writer(url);
        return true;
    } catch (const std::exception& e) {
        return fail(error, std::string("writer failed: ") + e.what());
    } catch (...) {
        return fail(error, "writer failed");
    }
}

}  // namespace

bool FileCoordinator::coordinateWriting(const fs::path& url,
                                        const std::function<void(const fs::path&)>& writer,
                                        std::string* error) {
    const std::string key = canonicalKey(url);
    if (heldByThisThread.contains(key)) return runWriter(writer, url, error);
    std::lock_guard guard(processMutex(key));
    LockFile lock;
    if (!lock.acquire(key, error)) return false;
    heldByThisThread.insert(key);
    const bool succeeded = runWriter(writer, url, error);
    heldByThisThread.erase(key);
    return succeeded;
}

}  // namespace zelvana::platform
