#include "Zelvana/Driver/CommandLine.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace zelvana::driver {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// The system's reason, as the rest of a sentence.
std::string reason(int error) {
    std::string text = std::strerror(error);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace

std::variant<CommandLine, std::string> CommandLine::parse(
    const std::vector<std::string>& arguments) {
    CommandLine line;
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        const auto& argument = arguments[index];
        if (argument == "--help") {
            line.help = true;
        } else if (argument == "--relaunch") {
            continue;
        } else if (argument == "--desktop" || argument == "--script") {
            auto& file = argument == "--desktop" ? line.desktop : line.script;
            if (file) return argument + " is given twice";
            if (index + 1 == arguments.size()) return argument + " needs a file";
            file = arguments[++index];
        } else if (argument.starts_with("-")) {
            return "unknown option " + quoted(argument);
        } else {
            return "unexpected argument " + quoted(argument);
        }
    }
    return line;
}

std::string CommandLine::usage(const std::string& program) {
    return "usage: " + program +
           " [--desktop FILE] [--script FILE] [--help]\n"
           "  --desktop FILE  the simulated desktop to run on (else the one saved when it last "
           "quit)\n"
           "  --script FILE   a person's input to play; its end quits (else the lines typed at "
           "a terminal)\n"
           "  --help          prints this\n";
}

std::optional<std::string> readTextFile(const std::filesystem::path& path, std::string* error) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        *error = reason(errno);
        return std::nullopt;
    }
    std::string text;
    std::string why;
    struct stat status {};
    if (::fstat(file, &status) == 0 && S_ISDIR(status.st_mode)) {
        why = "it is a folder";
    } else {
        char buffer[65536];
        ssize_t count = 0;
        while ((count = ::read(file, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(count));
        }
        if (count < 0) why = reason(errno);
    }
    ::close(file);
    if (why.empty()) return text;
    *error = why;
    return std::nullopt;
}

}  // namespace zelvana::driver
