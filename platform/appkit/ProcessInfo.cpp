#include "platform/appkit/ProcessInfo.hpp"

#include <sys/utsname.h>
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

// A value of /etc/os-release, without its quotes.
std::optional<std::string> osReleaseValue(const std::string& key) {
    std::ifstream file("/etc/os-release");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind(key + "=", 0) != 0) continue;
        std::string value = line.substr(key.size() + 1);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')) {
            value = value.substr(1, value.size() - 2);
        }
        return value;
    }
    return std::nullopt;
}

std::string systemVersionString() {
    struct utsname names {};
    const std::string kernel = ::uname(&names) == 0 ? names.release : "unknown";
    const auto release = osReleaseValue("VERSION_ID");
    return "Version " + release.value_or(osReleaseValue("NAME").value_or("unknown")) + " (Build " +
           kernel + ")";
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

std::string ProcessInfo::operatingSystemVersionString() const {
    if (fakeVersionString_) return *fakeVersionString_;
    static const std::string real = systemVersionString();
    return real;
}

void ProcessInfo::setOperatingSystemVersionStringForTesting(std::optional<std::string> text) {
    fakeVersionString_ = std::move(text);
}

}  // namespace zelvana::platform
