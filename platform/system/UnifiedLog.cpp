#include "platform/system/UnifiedLog.hpp"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/dispatch/Clock.hpp"

namespace zelvana::platform {

namespace {

std::mutex gSinkMutex;
// Shared so a sink being called survives its replacement.
std::shared_ptr<const UnifiedLogSink> gSink;

std::shared_ptr<const UnifiedLogSink> currentSink() {
    std::lock_guard lock(gSinkMutex);
    return gSink;
}

// Writes the whole line with as few writes as the pipe allows, retrying
// interrupted ones, so concurrent lines do not interleave.
void writeLine(const std::string& line) {
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

struct LocalTime {
    std::tm fields{};
    int milliseconds = 0;
    long gmtOffsetSeconds = 0;
};

LocalTime localNow() {
    const double since1970 = clock().now() + kTimeIntervalSince1970ToReferenceDate;
    const double whole = std::floor(since1970);
    LocalTime time;
    const auto seconds = static_cast<std::time_t>(whole);
    ::localtime_r(&seconds, &time.fields);
    time.milliseconds = std::min(999, static_cast<int>((since1970 - whole) * 1000));
    time.gmtOffsetSeconds = time.fields.tm_gmtoff;
    return time;
}

// "2026-12-08T21:07:35.123+0100"
std::string isoDate(const LocalTime& time) {
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &time.fields);
    const long offsetMinutes = std::labs(time.gmtOffsetSeconds) / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%s.%03d%c%02ld%02ld", date, time.milliseconds,
                  time.gmtOffsetSeconds < 0 ? '-' : '+', offsetMinutes / 60, offsetMinutes % 60);
    return text;
}

// "2026-12-08 21:07:35.123"
std::string nsLogDate(const LocalTime& time) {
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &time.fields);
    char text[48];
    std::snprintf(text, sizeof text, "%s.%03d", date, time.milliseconds);
    return text;
}

std::string withNewline(std::string line) {
    if (line.empty() || line.back() != '\n') line += '\n';
    return line;
}

}  // namespace

const std::string& executableName() {
    static const std::string name = [] {
        std::error_code error;
        auto path = std::filesystem::read_symlink("/proc/self/exe", error);
        return error ? std::string("unknown") : path.filename().string();
    }();
    return name;
}

namespace UnifiedLog {

const char* typeName(LogType type) {
    switch (type) {
        case LogType::Default:
            return "Default";
        case LogType::Info:
            return "Info";
        case LogType::Debug:
            return "Debug";
        case LogType::Error:
            return "Error";
        case LogType::Fault:
            return "Fault";
    }
    return "Default";
}

void write(LogType type, const std::string& message) {
    if (auto sink = currentSink()) {
        (*sink)(UnifiedLogEntry{type, executableName(), message});
        return;
    }
    writeLine(withNewline(isoDate(localNow()) + " " + executableName() + "[" +
                          std::to_string(::getpid()) + "] " + typeName(type) + ": " + message));
}

void setSinkForTesting(UnifiedLogSink sink) {
    exchangeSinkForTesting(std::move(sink));
}

UnifiedLogSink exchangeSinkForTesting(UnifiedLogSink sink) {
    auto replacement = sink ? std::make_shared<const UnifiedLogSink>(std::move(sink)) : nullptr;
    std::lock_guard lock(gSinkMutex);
    auto previous = std::exchange(gSink, std::move(replacement));
    return previous ? *previous : UnifiedLogSink{};
}

}  // namespace UnifiedLog

void NSLog(const std::string& message) {
    const auto threadId = static_cast<long>(::syscall(SYS_gettid));
    writeLine(withNewline(nsLogDate(localNow()) + " " + executableName() + "[" +
                          std::to_string(::getpid()) + ":" + std::to_string(threadId) + "] " +
                          message));
}

}  // namespace zelvana::platform
