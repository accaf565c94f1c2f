#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelvana::platform::testing {

// A fresh temporary folder for one test, with HOME and the XDG base
// directories pointed into it:
//   HOME=<root>/home            XDG_CONFIG_HOME=<root>/config
//   XDG_DATA_HOME=<root>/data   XDG_CACHE_HOME=<root>/cache
//   XDG_RUNTIME_DIR=<root>/runtime (mode 0700)
// The destructor restores the previous environment and deletes the folder.
class TemporaryFolders {
  public:
    TemporaryFolders();
    ~TemporaryFolders();
    TemporaryFolders(const TemporaryFolders&) = delete;
    TemporaryFolders& operator=(const TemporaryFolders&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // A path inside the root, such as path("config/zelvana/preferences").
    std::filesystem::path path(const std::filesystem::path& relative) const {
        return root_ / relative;
    }

    std::filesystem::path home() const { return path("home"); }
    std::filesystem::path config() const { return path("config"); }
    std::filesystem::path data() const { return path("data"); }
    std::filesystem::path cache() const { return path("cache"); }
    std::filesystem::path runtime() const { return path("runtime"); }

  private:
    void point(const std::string& variable, const std::filesystem::path& folder);

    std::filesystem::path root_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace zelvana::platform::testing
