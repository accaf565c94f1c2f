#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace zelvana::tools {

// A failure of the file system, as it described it.
struct FileSystemError {
    std::string description;
};

// The program's folders and other applications' names. Never instantiated; any thread.
class FileUtil {
public:
    using FolderResult = std::variant<std::optional<std::filesystem::path>, FileSystemError>;

    FileUtil() = delete;

    // The user's Application Support folder.
    static std::optional<std::filesystem::path> applicationSupportDirectory();
    // Application Support/<display name, else bundle name>, created with its
    // parents when missing. None without either; an error when it cannot be made.
    static FolderResult applicationFolder();
    // The application's bundle name, else its file's display name without ".app";
    // none when no application has the identifier.
    static std::optional<std::string> appDisplayName(const std::string& bundleIdentifier);
};

}  // namespace zelvana::tools
