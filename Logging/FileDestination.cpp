#include "Logging/FileDestination.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <functional>
#include <system_error>
#include <vector>

#include "Logging/ConsoleDestination.hpp"
#include "Logging/Diagnostics.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/foundation/FileCoordinator.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::logging {

namespace fs = std::filesystem;

namespace {

std::string urlDescription(const fs::path& path) {
    return "file://" + path.string();
}

// A bare file name lies in the current folder.
fs::path folderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

fs::path numberedPath(const fs::path& path, int index) {
    return fs::path(path.string() + "." + std::to_string(index));
}

// The numbers of the older files beside `path`, from 1 to `last`, newest
// last: read from the folder, so a huge file amount costs nothing extra.
std::vector<int> numberedIndices(const fs::path& path, int last) {
    const std::string prefix = path.filename().string() + ".";
    std::vector<int> indices;
    std::error_code failure;
    for (const auto& item : fs::directory_iterator(folderOf(path), failure)) {
        const std::string name = item.path().filename().string();
        if (!name.starts_with(prefix)) continue;
        const std::string_view digits = std::string_view(name).substr(prefix.size());
        int index = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
        const bool canonical =
            !digits.empty() && digits[0] != '0' && end == digits.data() + digits.size();
        if (ec == std::errc() && canonical && index >= 1 && index <= last) indices.push_back(index);
    }
    std::ranges::sort(indices, std::greater<>());
    return indices;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

FileDestination::FileDestination(std::optional<fs::path> logFileURL)
    : logFileURL_(logFileURL ? std::move(logFileURL) : defaultLogFileURL()) {}

std::optional<fs::path> FileDestination::defaultLogFileURL() {
    auto folder = platform::SystemFolders::caches();
    if (!folder) return std::nullopt;
    if (auto executable = platform::Bundle::main().infoString("CFBundleExecutable")) {
        const fs::path own = *folder / *executable;
        if (platform::FileManager::defaultManager().createDirectory(own, true)) {
            folder = own;
        } else {
            printLine("Warning! Could not create folder /Library/Caches/" + *executable);
        }
    }
    return *folder / "Logging.log";
}

void FileDestination::setColored(bool value) {
    colored_ = value;
    setLevelColor(value ? ConsoleDestination::terminalColors() : LevelColor{});
    setReset(value ? "\x1B[0m" : "");
    setEscape(value ? "\x1B[38;5;" : "");
}

std::optional<std::string> FileDestination::send(const LogEntry& entry) {
    auto text = BaseDestination::send(entry);
    if (text) validateSaveFile(*text);
    return text;
}

bool FileDestination::validateSaveFile(std::string_view text) {
    if (logFileAmount_ >= 2) {
        if (!logFileURL_) return false;
        if (rotationDue(*logFileURL_)) rotateFile(*logFileURL_);
    }
    if (!logFileURL_) return false;
    std::string line(text);
    line += '\n';
    return saveToFile(line, *logFileURL_);
}

bool FileDestination::rotationDue(const fs::path& path) const {
    const auto& files = platform::FileManager::defaultManager();
    if (!files.fileExists(path)) return false;
    std::string error;
    const auto size = files.fileSize(path, &error);
    if (!size) {
        printLine("validateSaveFile error: " + error);
        return false;
    }
    return logFileMaxSize_ < 0 || *size > static_cast<std::uint64_t>(logFileMaxSize_);
}

void FileDestination::rotateFile(const fs::path& path) {
    const auto& files = platform::FileManager::defaultManager();
    const int last = logFileAmount_ - 1;
    std::string error;
    for (const int index : numberedIndices(path, last)) {
        const fs::path numbered = numberedPath(path, index);
        if (!files.fileExists(numbered)) continue;
        const bool done = index == last
                              ? files.removeItem(numbered, &error)
                              : files.moveItem(numbered, numberedPath(path, index + 1), &error);
        if (!done) {
            printLine("rotateFile error: " + error);
            return;
        }
    }
    if (!files.moveItem(path, numberedPath(path, 1), &error)) {
        printLine("rotateFile error: " + error);
    }
}

bool FileDestination::saveToFile(std::string_view bytes, const fs::path& url) {
    bool written = false;
    std::string error;
    platform::FileCoordinator coordinator;
    const bool coordinated = coordinator.coordinateWriting(
        url, [&](const fs::path& target) { written = appendToFile(bytes, target); }, &error);
    if (!coordinated) {
        printLine("Failed writing file with error: " + error);
        return false;
    }
    return written;
}

bool FileDestination::appendToFile(std::string_view bytes, const fs::path& url) const {
    const auto& files = *fileManager_;
    if (!files.fileExists(url)) {
        const fs::path folder = folderOf(url);
        if (!files.isDirectory(folder) && !files.createDirectory(folder, true)) {
            printLine("Logging File Destination could not write to file " + urlDescription(url) +
                      ".");
            return false;
        }
        files.createFile(url);
    }
    const int fd = ::open(url.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    bool done = fd >= 0 && writeAll(fd, bytes) && (!syncAfterEachWrite_ || ::fsync(fd) == 0);
    if (fd >= 0) ::close(fd);
    if (!done) {
        printLine("Logging File Destination could not write to file " + urlDescription(url) + ".");
    }
    return done;
}

bool FileDestination::deleteLogFile() {
    if (!logFileURL_ || !fileManager_->fileExists(*logFileURL_)) return true;
    if (fileManager_->removeItem(*logFileURL_)) return true;
    printLine("Logging File Destination could not remove file " + urlDescription(*logFileURL_) +
              ".");
    return false;
}

}  // namespace zelvana::logging
