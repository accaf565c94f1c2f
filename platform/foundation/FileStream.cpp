#include "platform/foundation/FileStream.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace zelvana::platform {

namespace {

bool failed(std::string* error, const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
    return false;
}

int openFlags(FileOpenOptions options) {
    int flags = O_CLOEXEC | (options.contains(FileOpenOption::write) ? O_WRONLY : O_RDONLY);
    if (options.contains(FileOpenOption::create)) flags |= O_CREAT;
    if (options.contains(FileOpenOption::truncate)) flags |= O_TRUNC;
    if (options.contains(FileOpenOption::exclusive)) flags |= O_EXCL;
    return flags;
}

}  // namespace

std::optional<FileStream> FileStream::open(const std::filesystem::path& path,
                                           FileOpenOptions options, mode_t permissions,
                                           std::string* error) {
    const int fd = ::open(path.c_str(), openFlags(options), permissions);
    if (fd < 0) {
        failed(error, ("could not open '" + path.string() + "'").c_str());
        return std::nullopt;
    }
    return FileStream(fd);
}

FileStream::~FileStream() {
    if (fd_ >= 0) ::close(fd_);
}

FileStream::FileStream(FileStream&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileStream& FileStream::operator=(FileStream&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

bool FileStream::write(std::string_view bytes, std::string* error) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failed(error, "could not write");
        if (n == 0) {
            errno = ENOSPC;
            return failed(error, "could not write");
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool FileStream::sync(std::string* error) {
    return ::fsync(fd_) == 0 || failed(error, "could not sync");
}

bool FileStream::close(std::string* error) {
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0 || failed(error, "could not close");
}

}  // namespace zelvana::platform
