#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zelvana::platform {

// File operations with the failure semantics the product code relies on. Each
// returns false (or nothing) on failure and writes a description to `error`
// when one is given.
class FileManager {
public:
    static FileManager& defaultManager();

    bool fileExists(const std::filesystem::path& path) const;
    bool isDirectory(const std::filesystem::path& path) const;
    // Creates the folder; with intermediates, missing parents too and an
    // existing folder counts as success.
    bool createDirectory(const std::filesystem::path& path, bool withIntermediates,
                         std::string* error = nullptr) const;
    // Creates an empty file, replacing nothing that exists.
    bool createFile(const std::filesystem::path& path, std::string* error = nullptr) const;
    bool removeItem(const std::filesystem::path& path, std::string* error = nullptr) const;
    // Moves a file; fails, leaving both in place, when `to` already exists.
    bool moveItem(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::string* error = nullptr) const;
    // Size in bytes of a regular file; absent when it cannot be read.
    std::optional<std::uint64_t> fileSize(const std::filesystem::path& path,
                                          std::string* error = nullptr) const;
    // The whole file as bytes; absent when it cannot be read.
    std::optional<std::string> contentsAtPath(const std::filesystem::path& path,
                                              std::string* error = nullptr) const;
    // The name to show people for the file: its last path component.
    std::string displayName(const std::filesystem::path& path) const;
    // Replaces the file in one step: a temporary file beside it is written,
    // synced and renamed over it, so readers see the old or the new contents
    // and a failed write leaves the old file as it was.
    bool writeAtomically(const std::filesystem::path& path, const std::string& contents,
                         std::string* error = nullptr) const;
    // Where to keep what could not be read, so that nothing replaces it:
    // <folder>/<stem>.corrupt-<seconds since 1970><extension>, or the first
    // free name with "-1" to "-99" after the seconds; none when all are taken.
    std::optional<std::filesystem::path> pathForKeepingAside(const std::filesystem::path& folder,
                                                             const std::string& stem,
                                                             const std::string& extension) const;
    // Moves `file` to that name beside it; where it went, or none with the
    // reason in `error`.
    std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file,
                                                   const std::string& stem,
                                                   const std::string& extension,
                                                   std::string* error = nullptr) const;
};

}  // namespace zelvana::platform
