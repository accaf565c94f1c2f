#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace zelvana::driver {

// What the program's command line asks for: --desktop FILE, --script FILE,
// --help, and --relaunch, which the relaunch helper passes.
struct CommandLine {
    std::optional<std::filesystem::path> desktop;
    std::optional<std::filesystem::path> script;
    bool help = false;

    // The arguments, the program's path first; or why they are refused.
    static std::variant<CommandLine, std::string> parse(const std::vector<std::string>& arguments);
    // The usage lines, ending in a newline.
    static std::string usage(const std::string& program);
};

// The whole text of a file; none, with `error` saying why, when it is a
// folder or cannot be read.
std::optional<std::string> readTextFile(const std::filesystem::path& path, std::string* error);

}  // namespace zelvana::driver
