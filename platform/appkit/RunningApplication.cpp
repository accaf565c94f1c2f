#include "platform/appkit/RunningApplication.hpp"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <system_error>
#include <utility>

#include "platform/appkit/Bundle.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::platform {

namespace fs = std::filesystem;

namespace {

struct ProcessStatus {
    char state;
    std::uint64_t startTime;
};

// /proc/<pid>/stat: the state is the first field after the parenthesised
// name, the start time the twentieth.
std::optional<ProcessStatus> readStatus(int pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const auto nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos) return std::nullopt;
    std::istringstream fields(text.substr(nameEnd + 1));
    ProcessStatus status{};
    fields >> status.state;
    std::string skipped;
    for (int field = 0; field < 18; ++field) fields >> skipped;
    if (!(fields >> status.startTime)) return std::nullopt;
    return status;
}

bool isAlive(int pid, const std::optional<std::uint64_t>& startTime) {
    if (pid <= 0) return false;
    if (::kill(pid, 0) != 0 && errno != EPERM) return false;
    const auto status = readStatus(pid);
    if (!status) return true;  // no /proc to ask; the signal test stands
    if (status->state == 'Z' || status->state == 'X') return false;
    return !startTime || *startTime == status->startTime;
}

std::optional<fs::path> registryFolder() {
    auto runtime = SystemFolders::runtime();
    if (!runtime) return std::nullopt;
    return *runtime / "running";
}

// An identifier names a folder, so it must not climb out of the registry.
bool isUsableIdentifier(const std::string& identifier) {
    return !identifier.empty() && identifier != "." && identifier != ".." &&
           identifier.find('/') == std::string::npos && identifier.find('\0') == std::string::npos;
}

std::optional<int> pidFromFileName(const std::string& name) {
    int pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end != name.data() + name.size() || pid <= 0) return std::nullopt;
    return pid;
}

// Writes beside the target, then renames, so readers never see half a file.
bool writeAtomically(const fs::path& file, const std::string& contents) {
    const fs::path temporary = file.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << contents;
        if (!out.flush()) return false;
    }
    std::error_code error;
    fs::rename(temporary, file, error);
    return !error;
}

std::vector<std::string> registeredIdentifiers(const fs::path& folder) {
    std::vector<std::string> identifiers;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(folder, error)) {
        if (item.is_directory(error)) identifiers.push_back(item.path().filename().string());
    }
    std::sort(identifiers.begin(), identifiers.end());
    return identifiers;
}

std::mutex lookupMutex;

RunningApplication::SimulatedLookup& simulatedLookup() {
    static auto* lookup = new RunningApplication::SimulatedLookup();
    return *lookup;
}

std::optional<RunningApplication> findSimulated(int pid) {
    RunningApplication::SimulatedLookup lookup;
    {
        std::lock_guard lock(lookupMutex);
        lookup = simulatedLookup();
    }
    return lookup ? lookup(pid) : std::nullopt;
}

}  // namespace

RunningApplication::RunningApplication(int processIdentifier,
                                       std::optional<std::string> bundleIdentifier,
                                       std::optional<fs::path> bundleURL)
    : processIdentifier_(processIdentifier),
      bundleIdentifier_(std::move(bundleIdentifier)),
      bundleURL_(std::move(bundleURL)) {}

RunningApplication RunningApplication::simulated(int processIdentifier,
                                                 std::optional<std::string> bundleIdentifier,
                                                 std::optional<fs::path> bundleURL) {
    RunningApplication application(processIdentifier, std::move(bundleIdentifier),
                                   std::move(bundleURL));
    application.simulated_ = true;
    return application;
}

bool RunningApplication::isTerminated() const {
    if (simulated_) return !findSimulated(processIdentifier_);
    return !isAlive(processIdentifier_, startTime_);
}

bool RunningApplication::terminate() const {
    // A simulated pid may belong to some real process; never signal it.
    if (simulated_) return false;
    // Never 0 or -1: those would signal a whole process group or everyone.
    if (processIdentifier_ <= 0 || isTerminated()) return false;
    return ::kill(processIdentifier_, SIGTERM) == 0;
}

std::optional<RunningApplication> RunningApplication::readEntry(
    const fs::path& file, const std::string& bundleIdentifier) {
    const auto pid = pidFromFileName(file.filename().string());
    if (!pid) return std::nullopt;  // a temporary file being written
    std::ifstream in(file);
    std::string startLine;
    std::string bundlePath;
    std::getline(in, startLine);
    std::getline(in, bundlePath);
    RunningApplication application(
        *pid, bundleIdentifier,
        bundlePath.empty() ? std::nullopt : std::optional<fs::path>(bundlePath));
    std::uint64_t startTime = 0;
    const auto [end, error] =
        std::from_chars(startLine.data(), startLine.data() + startLine.size(), startTime);
    if (error == std::errc() && end == startLine.data() + startLine.size()) {
        application.startTime_ = startTime;
    }
    std::error_code ignored;
    if (application.isTerminated()) {
        fs::remove(file, ignored);
        return std::nullopt;
    }
    return application;
}

std::vector<RunningApplication> RunningApplication::runningApplications(
    const std::string& bundleIdentifier) {
    std::vector<RunningApplication> found;
    const auto folder = registryFolder();
    if (!folder || !isUsableIdentifier(bundleIdentifier)) return found;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(*folder / bundleIdentifier, error)) {
        if (auto application = readEntry(item.path(), bundleIdentifier)) {
            found.push_back(std::move(*application));
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& left, const auto& right) {
        return left.processIdentifier() < right.processIdentifier();
    });
    return found;
}

std::vector<RunningApplication> RunningApplication::runningApplications() {
    std::vector<RunningApplication> all;
    const auto folder = registryFolder();
    if (!folder) return all;
    for (const auto& identifier : registeredIdentifiers(*folder)) {
        auto some = runningApplications(identifier);
        all.insert(all.end(), some.begin(), some.end());
    }
    return all;
}

std::optional<RunningApplication> RunningApplication::withProcessIdentifier(int processIdentifier) {
    if (processIdentifier <= 0) return std::nullopt;
    if (auto application = findSimulated(processIdentifier)) return application;
    if (processIdentifier == static_cast<int>(::getpid())) {
        const auto& bundle = Bundle::main();
        return RunningApplication(processIdentifier, bundle.bundleIdentifier(),
                                  bundle.bundlePath());
    }
    for (auto& application : runningApplications()) {
        if (application.processIdentifier() == processIdentifier) return application;
    }
    return std::nullopt;
}

RunningApplication::SimulatedLookup RunningApplication::setSimulatedLookup(SimulatedLookup lookup) {
    std::lock_guard lock(lookupMutex);
    return std::exchange(simulatedLookup(), std::move(lookup));
}

bool RunningApplication::registerProcess(const std::string& bundleIdentifier, int processIdentifier,
                                         const fs::path& bundlePath) {
    const auto folder = registryFolder();
    if (!folder || !isUsableIdentifier(bundleIdentifier) || processIdentifier <= 0) return false;
    const auto status = readStatus(processIdentifier);
    if (!status || status->state == 'Z') return false;
    std::error_code error;
    fs::create_directories(*folder / bundleIdentifier, error);
    const std::string contents =
        std::to_string(status->startTime) + "\n" + bundlePath.string() + "\n";
    return writeAtomically(*folder / bundleIdentifier / std::to_string(processIdentifier),
                           contents);
}

void RunningApplication::unregisterProcess(const std::string& bundleIdentifier,
                                           int processIdentifier) {
    const auto folder = registryFolder();
    if (!folder || !isUsableIdentifier(bundleIdentifier)) return;
    std::error_code ignored;
    fs::remove(*folder / bundleIdentifier / std::to_string(processIdentifier), ignored);
}

bool RunningApplication::registerCurrentProcess() {
    const auto& bundle = Bundle::main();
    const auto identifier = bundle.bundleIdentifier();
    if (!identifier) return false;
    const int pid = static_cast<int>(::getpid());
    if (!registerProcess(*identifier, pid, bundle.bundlePath())) return false;
    // Not from a forked child: the entry is its parent's.
    static std::string* registered = new std::string(*identifier);
    static int registeredPid = pid;
    *registered = *identifier;
    registeredPid = pid;
    [[maybe_unused]] static const int removal = std::atexit([] {
        if (::getpid() == registeredPid) unregisterProcess(*registered, registeredPid);
    });
    return true;
}

}  // namespace zelvana::platform
