#include "platform/foundation/FileManager.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "platform/foundation/Date.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;

bool fail(std::string* error, const std::string& what, int code) {
    if (error) *error = what + ": " + std::strerror(code);
    return false;
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// Reads errno before anything else can disturb it.
bool failNow(std::string* error, const char* what, const fs::path& path) {
    const int code = errno;
    return fail(error, what + quoted(path), code);
}

bool failMove(std::string* error, const fs::path& from, const fs::path& to, int code) {
    return fail(error, "could not move " + quoted(from) + " to " + quoted(to), code);
}

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// A writer killed between creating its temporary file and renaming it leaves
// the file behind. Each is named ".<file>.<pid>.XXXXXX"; those of processes
// that are gone are removed, so they cannot pile up one per kill.
void removeTemporariesOfEndedWriters(const fs::path& folder, const std::string& prefix) {
    std::error_code failed;
    for (fs::directory_iterator entry(folder, failed), end; !failed && entry != end;
         entry.increment(failed)) {
        const std::string name = entry->path().filename().string();
        if (!name.starts_with(prefix)) continue;
        const std::string_view rest = std::string_view(name).substr(prefix.size());
        pid_t writer = 0;
        const char* const last = rest.data() + rest.size();
        const auto [stop, problem] = std::from_chars(rest.data(), last, writer);
        if (problem != std::errc() || stop == rest.data() || stop == last || *stop != '.' ||
            writer <= 0) {
            continue;
        }
        if (::kill(writer, 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

bool writeAll(int fd, const std::string& contents) {
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename itself durable.
void syncFolder(const fs::path& folder) {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

// A replaced file keeps its permissions; a new one stays private to the user.
void adoptMode(int fd, const fs::path& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) ::fchmod(fd, existing.st_mode & 07777);
}

// Without renameat2 support, link() refuses an existing target just the same.
bool moveByLink(const fs::path& from, const fs::path& to) {
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    if (::unlink(from.c_str()) == 0) return true;
    const int saved = errno;
    ::unlink(to.c_str());
    errno = saved;
    return false;
}

// Across file systems: copy, then remove the original.
bool moveByCopy(const fs::path& from, const fs::path& to, std::string* error) {
    std::error_code ec;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (!ec) fs::remove_all(from, ec);
    if (!ec) return true;
    return failMove(error, from, to, ec.value());
}

}  // namespace

FileManager& FileManager::defaultManager() {
    static FileManager manager;
    return manager;
}

bool FileManager::fileExists(const fs::path& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool FileManager::isDirectory(const fs::path& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileManager::createDirectory(const fs::path& path, bool withIntermediates,
                                  std::string* error) const {
    if (!withIntermediates) {
        if (::mkdir(path.c_str(), 0777) == 0) return true;
        return failNow(error, "could not create folder ", path);
    }
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) return fail(error, "could not create folder " + quoted(path), ec.value());
    if (isDirectory(path)) return true;
    return fail(error, "could not create folder " + quoted(path), EEXIST);
}

bool FileManager::createFile(const fs::path& path, std::string* error) const {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() >= 0) return true;
    return failNow(error, "could not create file ", path);
}

bool FileManager::removeItem(const fs::path& path, std::string* error) const {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec)))
        return fail(error, "could not remove " + quoted(path), ENOENT);
    fs::remove_all(path, ec);
    if (ec) return fail(error, "could not remove " + quoted(path), ec.value());
    return true;
}

bool FileManager::moveItem(const fs::path& from, const fs::path& to, std::string* error) const {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EINVAL || errno == ENOSYS) {
        if (moveByLink(from, to)) return true;
    }
    const int code = errno;
    if (code != EXDEV) return failMove(error, from, to, code);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec))) return failMove(error, from, to, EEXIST);
    return moveByCopy(from, to, error);
}

std::string FileManager::displayName(const fs::path& path) const {
    const fs::path name = path.has_filename() ? path.filename() : path.parent_path().filename();
    return name.string();
}

std::optional<std::uint64_t> FileManager::fileSize(const fs::path& path, std::string* error) const {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        failNow(error, "could not read the size of ", path);
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        fail(error, "could not read the size of " + quoted(path), EISDIR);
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::string> FileManager::contentsAtPath(const fs::path& path,
                                                       std::string* error) const {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    std::string contents;
    char buffer[65536];
    ssize_t n = 0;
    while (fd.get() >= 0 && (n = ::read(fd.get(), buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    if (fd.get() < 0 || n < 0) {
        failNow(error, "could not read ", path);
        return std::nullopt;
    }
    return contents;
}

bool FileManager::writeAtomically(const fs::path& path, const std::string& contents,
                                  std::string* error) const {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string prefix = "." + path.filename().string() + ".";
    removeTemporariesOfEndedWriters(folder, prefix);
    std::string temporary = (folder / (prefix + std::to_string(::getpid()) + ".XXXXXX")).string();
    Descriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) return failNow(error, "could not write ", path);
    adoptMode(fd.get(), path);
    const bool written = writeAll(fd.get(), contents) && ::fsync(fd.get()) == 0 && fd.close() &&
                         ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written) {
        const int code = errno;
        ::unlink(temporary.c_str());
        return fail(error, "could not write " + quoted(path), code);
    }
    syncFolder(folder);
    return true;
}

std::optional<fs::path> FileManager::pathForKeepingAside(const fs::path& folder,
                                                         const std::string& stem,
                                                         const std::string& extension) const {
    const auto seconds = static_cast<long long>(std::floor(Date::now().timeIntervalSince1970()));
    const auto base = stem + ".corrupt-" + std::to_string(seconds);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto name = attempt == 0 ? base : base + "-" + std::to_string(attempt);
        auto path = folder / (name + extension);
        if (!fileExists(path)) return path;
    }
    return std::nullopt;
}

std::optional<fs::path> FileManager::moveAside(const fs::path& file, const std::string& stem,
                                               const std::string& extension,
                                               std::string* error) const {
    const auto target = pathForKeepingAside(file.parent_path(), stem, extension);
    if (!target) {
        if (error) *error = "every name is taken";
        return std::nullopt;
    }
    if (!moveItem(file, *target, error)) return std::nullopt;
    return target;
}

}  // namespace zelvana::platform
