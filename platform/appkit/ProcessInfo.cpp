#include "platform/appkit/ProcessInfo.hpp"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace zelvana::platform {

namespace {

std::vector<std::string> readCommandLine() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\0', start);
        if (end == std::string::npos) end = text.size();
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

}  // namespace

ProcessInfo::ProcessInfo() : arguments_(readCommandLine()) {}

ProcessInfo& ProcessInfo::shared() {
    static ProcessInfo instance;
    return instance;
}

void ProcessInfo::setArguments(std::vector<std::string> arguments) {
    arguments_ = std::move(arguments);
}

bool ProcessInfo::hasArgument(const std::string& argument) const {
    return std::ranges::find(arguments_, argument) != arguments_.end();
}

int ProcessInfo::processIdentifier() const {
    return static_cast<int>(::getpid());
}

}  // namespace zelvana::platform
