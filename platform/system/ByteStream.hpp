#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/FileStream.hpp"

namespace zelvana::platform {

// Where an archive's bytes go, one stream stacked on another as the archive
// framework stacks them: a stream never closes the one beneath it, its owner
// closes each, top first. One thread.
class OutputByteStream {
public:
    virtual ~OutputByteStream() = default;
    // Every byte, or false; after a failure the stream takes nothing more.
    virtual bool write(std::string_view bytes) = 0;
    // Hands on what the stream still holds; false when any of its bytes were lost.
    virtual bool close() = 0;
};

// A file as an output byte stream; closing syncs it to the disk first.
class FileOutputStream final : public OutputByteStream {
public:
    // Null, with the reason in `error`, when the file cannot be opened.
    static std::unique_ptr<FileOutputStream> open(const std::filesystem::path& path,
                                                  FileOpenOptions options, mode_t permissions,
                                                  std::string* error = nullptr);

    bool write(std::string_view bytes) override;
    bool close() override;

private:
    explicit FileOutputStream(FileStream file) : file_(std::move(file)) {}

    FileStream file_;
    bool failed_ = false;
    bool closed_ = false;
};

}  // namespace zelvana::platform
