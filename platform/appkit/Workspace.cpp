#include "platform/appkit/Workspace.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <numbers>
#include <string>
#include <utility>

#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/CairoPixels.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/SystemFolders.hpp"

#ifndef CLOSE_RANGE_CLOEXEC
#define CLOSE_RANGE_CLOEXEC (1U << 2)
#endif

namespace zelvana::platform {

namespace fs = std::filesystem;

namespace {

struct LaunchResult {
    std::optional<RunningApplication> application;
    std::optional<OpenError> error;
};

LaunchResult failure(std::string description) {
    return {std::nullopt, OpenError{std::move(description)}};
}

std::string quoted(const fs::path& path) {
    return "\u201c" + path.string() + "\u201d";
}

// Reads exactly one value; false at end of file (no writer sent it).
template <typename Value>
bool readValue(int fd, Value& value) {
    ssize_t count;
    do {
        count = ::read(fd, &value, sizeof value);
    } while (count < 0 && errno == EINTR);
    return count == static_cast<ssize_t>(sizeof value);
}

template <typename Value>
void writeValue(int fd, const Value& value) {
    [[maybe_unused]] const auto written = ::write(fd, &value, sizeof value);
}

// The program itself, in the grandchild: only async-signal-safe calls from
// here on. It gets no terminal: standard input is empty, and its output goes
// to its log file (nowhere when there is none).
[[noreturn]] void execProgram(const char* program, char* const* argv, const char* logFile,
                              int errorPipe) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int nothing = ::open("/dev/null", O_RDONLY);
    if (nothing > 0) {
        ::dup2(nothing, STDIN_FILENO);
        ::close(nothing);
    }
    int log = ::open(logFile, O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (log < 0) log = ::open("/dev/null", O_WRONLY);
    if (log >= 0) {
        ::dup2(log, STDOUT_FILENO);
        ::dup2(log, STDERR_FILENO);
        if (log > STDERR_FILENO) ::close(log);
    }
#ifdef SYS_close_range
    ::syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC);  // no descriptor of ours leaks
#endif
    ::execv(program, argv);
    writeValue(errorPipe, errno);
    ::_exit(127);
}

// The first child starts a session and the program, reports its pid and
// leaves; the program is then nobody's child here, so it never lingers as
// our zombie.
[[noreturn]] void startDetached(const char* program, char* const* argv, const char* logFile,
                                int pidPipe, int errorPipe) {
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild == 0) execProgram(program, argv, logFile, errorPipe);
    if (grandchild < 0) writeValue(errorPipe, errno);
    writeValue(pidPipe, grandchild);
    ::_exit(0);
}

void waitForChild(pid_t child) {
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// Forks and waits for the program's exec; the pipes close on exec, so an
// empty error pipe means the program runs.
LaunchResult spawn(const fs::path& program, const std::vector<std::string>& arguments,
                   const fs::path& logFile) {
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    int pidPipe[2];
    int errorPipe[2];
    if (::pipe2(pidPipe, O_CLOEXEC) != 0) return failure(std::strerror(errno));
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        ::close(pidPipe[0]);
        ::close(pidPipe[1]);
        return failure(std::strerror(errno));
    }
    const pid_t child = ::fork();
    if (child == 0) startDetached(argv[0], argv.data(), logFile.c_str(), pidPipe[1], errorPipe[1]);
    const int forkError = errno;
    ::close(pidPipe[1]);
    ::close(errorPipe[1]);
    pid_t pid = -1;
    int execError = 0;
    if (child > 0) {
        waitForChild(child);
        if (!readValue(pidPipe[0], pid)) pid = -1;
        if (!readValue(errorPipe[0], execError)) execError = 0;
    }
    ::close(pidPipe[0]);
    ::close(errorPipe[0]);
    if (child < 0) return failure(std::strerror(forkError));
    if (execError != 0 || pid <= 0) return failure(std::strerror(execError ? execError : EAGAIN));
    return {RunningApplication(pid, std::nullopt, std::nullopt), std::nullopt};
}

// <Caches>/zelvana/Logs/<program>.log, where the system would keep what an
// application it started writes; /dev/null without a caches folder.
fs::path logFileOf(const fs::path& program) {
    const auto caches = SystemFolders::caches();
    if (!caches) return "/dev/null";
    const auto folder = *caches / "zelvana" / "Logs";
    std::error_code error;
    fs::create_directories(folder, error);
    return folder / (program.filename().string() + ".log");
}

LaunchResult launch(const fs::path& bundleURL, const OpenConfiguration& configuration) {
    const auto bundle = Bundle::open(bundleURL);
    if (bundleURL.empty() || !bundle) {
        return failure("The application at " + quoted(bundleURL) + " could not be found.");
    }
    const auto program = bundle->executablePath();
    if (!program) {
        return failure("The application " + quoted(bundle->bundlePath().filename()) +
                       " has no program to run.");
    }
    auto result = spawn(*program, configuration.arguments, logFileOf(*program));
    if (result.error) {
        result.error->localizedDescription =
            "The application " + quoted(bundle->bundlePath().filename()) +
            " could not be launched: " + result.error->localizedDescription;
        return result;
    }
    result.application = RunningApplication(result.application->processIdentifier(),
                                            bundle->bundleIdentifier(), bundle->bundlePath());
    return result;
}

std::uint32_t fnv1a(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char byte : text) hash = (hash ^ byte) * 16777619u;
    return hash;
}

// An opaque colour of the given hue (degrees); saturation fixed so icons stay readable.
Pixel pixelOfHue(double hue, double value) {
    const double chroma = 0.65 * value;
    const double segment = std::fmod(hue / 60.0, 6.0);
    const double second = chroma * (1 - std::abs(std::fmod(segment, 2.0) - 1));
    const double rgb[6][3] = {{chroma, second, 0}, {second, chroma, 0}, {0, chroma, second},
                              {0, second, chroma}, {second, 0, chroma}, {chroma, 0, second}};
    const auto& row = rgb[static_cast<int>(segment)];
    const auto channel = [&](double part) {
        return static_cast<std::uint8_t>(std::lround((part + value - chroma) * 255));
    };
    return Pixel{channel(row[0]), channel(row[1]), channel(row[2]), 255};
}

void setSource(cairo_t* cr, Pixel pixel) {
    cairo_set_source_rgb(cr, pixel.red / 255.0, pixel.green / 255.0, pixel.blue / 255.0);
}

// A rounded tile in one colour with a disc in another, both from the name.
Image drawnIcon(const std::string& name) {
    constexpr double side = 32;
    constexpr double corner = 7;
    constexpr double quarter = std::numbers::pi / 2;
    const std::uint32_t hash = fnv1a(name);
    Image icon(Size{side, side});
    drawInto(icon, PixelRect::of(icon), [&](cairo_t* cr) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, side - corner, corner, corner, -quarter, 0);
        cairo_arc(cr, side - corner, side - corner, corner, 0, quarter);
        cairo_arc(cr, corner, side - corner, corner, quarter, 2 * quarter);
        cairo_arc(cr, corner, corner, corner, 2 * quarter, 3 * quarter);
        cairo_close_path(cr);
        setSource(cr, pixelOfHue(hash % 360, 0.85));
        cairo_fill(cr);
        cairo_arc(cr, side / 2, side / 2, side / 4, 0, 4 * quarter);
        setSource(cr, pixelOfHue((hash / 360) % 360, 1.0));
        cairo_fill(cr);
    });
    return icon;
}

// Drawn once per name, as the system keeps the icons it has drawn: a copy
// shares the first one's content id.
Image generatedIcon(const std::string& name) {
    static std::mutex mutex;
    static auto* drawn = new std::map<std::string, Image>();
    std::lock_guard lock(mutex);
    const auto found = drawn->find(name);
    if (found != drawn->end()) return found->second;
    return drawn->emplace(name, drawnIcon(name)).first->second;
}

std::string iconNameOfBundle(const fs::path& path) {
    if (const auto bundle = Bundle::open(path)) {
        if (auto name = bundle->infoString("CFBundleIconFile")) return *name;
    }
    const auto stem = path.stem().string();
    return stem.empty() ? path.filename().string() : stem;
}

}  // namespace

Workspace& Workspace::shared() {
    static auto* workspace = new Workspace();  // posts may still be queued at exit
    return *workspace;
}

std::vector<RunningApplication> Workspace::runningApplications() const {
    auto applications = RunningApplication::runningApplications();
    for (auto& simulated : RunningApplication::simulatedApplications()) {
        applications.push_back(std::move(simulated));
    }
    return applications;
}

std::optional<fs::path> Workspace::urlForApplication(const std::string& bundleIdentifier) const {
    for (const auto& running : RunningApplication::runningApplications(bundleIdentifier)) {
        if (running.bundleURL()) return running.bundleURL();
    }
    std::vector<fs::path> folders;
    if (const char* home = std::getenv("HOME"); home && *home) {
        folders.push_back(fs::path(home) / "Applications");
    }
    folders.emplace_back("/Applications");
    for (const auto& folder : folders) {
        std::error_code error;
        for (const auto& item : fs::directory_iterator(folder, error)) {
            if (item.path().extension() != ".app") continue;
            const auto bundle = Bundle::open(item.path());
            if (bundle && bundle->bundleIdentifier() == bundleIdentifier) return item.path();
        }
    }
    return std::nullopt;
}

void Workspace::openApplication(const fs::path& bundleURL, const OpenConfiguration& configuration,
                                OpenCompletion completion) {
    ApplicationOpener opener;
    {
        std::lock_guard lock(mutex_);
        opener = opener_;
    }
    if (opener) {
        opener(bundleURL, configuration, std::move(completion));
    } else {
        launchApplication(bundleURL, configuration, std::move(completion));
    }
}

ApplicationOpener Workspace::setApplicationOpener(ApplicationOpener opener) {
    std::lock_guard lock(mutex_);
    return std::exchange(opener_, std::move(opener));
}

Image Workspace::iconForFile(const fs::path& path) const {
    IconNameLookup lookup;
    {
        std::lock_guard lock(mutex_);
        lookup = iconNameLookup_;
    }
    std::optional<std::string> name = lookup ? lookup(path) : std::nullopt;
    return generatedIcon(name ? *name : iconNameOfBundle(path));
}

IconNameLookup Workspace::setIconNameLookup(IconNameLookup lookup) {
    std::lock_guard lock(mutex_);
    return std::exchange(iconNameLookup_, std::move(lookup));
}

void Workspace::launchApplication(const fs::path& bundleURL, const OpenConfiguration& configuration,
                                  OpenCompletion completion) {
    globalQueue().async([bundleURL, configuration, completion = std::move(completion)] {
        const auto result = launch(bundleURL, configuration);
        if (completion) completion(result.application, result.error);
    });
}

bool Workspace::openURL(const std::string& url) {
    const auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    std::lock_guard lock(mutex_);
    openedURLs_.push_back(url);
    return true;
}

std::vector<std::string> Workspace::openedURLs() const {
    std::lock_guard lock(mutex_);
    return openedURLs_;
}

void Workspace::clearOpenedURLsForTesting() {
    std::lock_guard lock(mutex_);
    openedURLs_.clear();
}

void Workspace::postDidWakeNotification() {
    postOnMainQueue(didWakeNotification);
}

void Workspace::postWillPowerOffNotification() {
    postOnMainQueue(willPowerOffNotification);
}

void Workspace::postOnMainQueue(const char* name) {
    mainQueue().async([center = std::weak_ptr(notificationCenter_), name] {
        if (auto alive = center.lock()) alive->post(name);
    });
}

}  // namespace zelvana::platform
