#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace zelvana::platform {

// The entries of a .strings file: "key" = "value"; lines, with backslash
// escapes (\n, \", \\). A missing or unreadable file gives no entries.
std::map<std::string, std::string> readStringsFile(const std::filesystem::path& path);

}  // namespace zelvana::platform
