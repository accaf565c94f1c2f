#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Flags.hpp"

namespace zelvana::platform {

// How a file is opened for writing, named rather than as another system's raw bits.
enum class FileOpenOption : std::uint32_t {
    write = 1,
    create = 2,
    truncate = 4,
    // With `create`: fail when the file already exists.
    exclusive = 8,
};
ZELVANA_FLAGS(FileOpenOption)
using FileOpenOptions = Flags<FileOpenOption>;

// A file opened as a byte stream for writing. Closes itself when destroyed; an
// explicit close() reports whether the bytes reached the file. Movable, one thread.
class FileStream {
public:
    // Absent, with the reason in `error`, when the file cannot be opened.
    static std::optional<FileStream> open(const std::filesystem::path& path,
                                          FileOpenOptions options, mode_t permissions,
                                          std::string* error = nullptr);
    ~FileStream();
    FileStream(FileStream&& other) noexcept;
    FileStream& operator=(FileStream&& other) noexcept;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    // Every byte or false, with the reason in `error`.
    bool write(std::string_view bytes, std::string* error = nullptr);
    // Flushes to the disk.
    bool sync(std::string* error = nullptr);
    bool close(std::string* error = nullptr);

private:
    explicit FileStream(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace zelvana::platform
