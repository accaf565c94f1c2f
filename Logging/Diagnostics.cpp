#include "Logging/Diagnostics.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zelvana::logging {

void printLine(std::string_view text) {
    std::string line(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void fatalError(std::string_view message) {
    std::string line = "Fatal error: " + std::string(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    std::abort();
}

}  // namespace zelvana::logging
