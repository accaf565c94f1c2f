#pragma once

#include <filesystem>
#include <optional>

namespace zelvana::platform {

// The system folders, mapped to the XDG base directories. Each is read from
// the environment at every call, so tests can point them at a temporary folder.
namespace SystemFolders {
// $XDG_CONFIG_HOME/zelvana/preferences
std::optional<std::filesystem::path> preferences();
// $XDG_DATA_HOME (default ~/.local/share)
std::optional<std::filesystem::path> applicationSupport();
// $XDG_CACHE_HOME (default ~/.cache)
std::optional<std::filesystem::path> caches();
// $XDG_RUNTIME_DIR/zelvana, else a private folder in the temporary directory;
// created on demand with mode 0700.
std::optional<std::filesystem::path> runtime();
// $HOME
std::optional<std::filesystem::path> home();
}  // namespace SystemFolders

}  // namespace zelvana::platform
