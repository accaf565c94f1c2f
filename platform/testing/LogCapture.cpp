#include "platform/testing/LogCapture.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <mutex>

namespace zelvana::platform::testing {

namespace {

void flushStandardStreams() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
}

// An unlinked temporary file: unlike a pipe it never fills up and blocks the
// writer. Appending keeps writes at the end after the file is truncated.
int openCaptureFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelvana-capture-XXXXXX");
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return -1;
    ::unlink(pattern.c_str());
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_APPEND);
    return fd;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

// Points one standard file descriptor at a capture file until destroyed.
class LogCapture::StreamRedirect {
public:
    explicit StreamRedirect(int target) : target_(target) {
        flushStandardStreams();
        file_ = openCaptureFile();
        saved_ = ::dup(target_);
        if (file_ < 0 || saved_ < 0 || ::dup2(file_, target_) < 0) {
            ADD_FAILURE() << "cannot capture file descriptor " << target_;
        }
    }
    ~StreamRedirect() {
        flushStandardStreams();
        if (saved_ >= 0) {
            ::dup2(saved_, target_);
            ::close(saved_);
        }
        if (file_ >= 0) ::close(file_);
    }
    StreamRedirect(const StreamRedirect&) = delete;
    StreamRedirect& operator=(const StreamRedirect&) = delete;

    std::string contents() const {
        flushStandardStreams();
        std::string text;
        char buffer[4096];
        off_t offset = 0;
        ssize_t count;
        while (file_ >= 0 && (count = ::pread(file_, buffer, sizeof buffer, offset)) > 0) {
            text.append(buffer, static_cast<std::size_t>(count));
            offset += count;
        }
        return text;
    }
    void clear() {
        flushStandardStreams();
        if (file_ >= 0 && ::ftruncate(file_, 0) != 0) ADD_FAILURE() << "cannot clear a capture";
    }

private:
    int target_;
    int file_ = -1;
    int saved_ = -1;
};

struct LogCapture::State {
    mutable std::mutex mutex;
    std::vector<UnifiedLogEntry> entries;
};

LogCapture::LogCapture(unsigned streams) : state_(std::make_shared<State>()) {
    if (streams & StandardOutput) output_ = std::make_unique<StreamRedirect>(STDOUT_FILENO);
    if (streams & StandardError) error_ = std::make_unique<StreamRedirect>(STDERR_FILENO);
    // The sink holds the state, not the capture, so a late entry lands safely.
    previousSink_ = UnifiedLog::exchangeSinkForTesting([state = state_](const auto& entry) {
        std::lock_guard lock(state->mutex);
        state->entries.push_back(entry);
    });
}

LogCapture::~LogCapture() {
    UnifiedLog::setSinkForTesting(std::move(previousSink_));
    error_.reset();
    output_.reset();
}

std::vector<UnifiedLogEntry> LogCapture::entries() const {
    std::lock_guard lock(state_->mutex);
    return state_->entries;
}

std::vector<std::string> LogCapture::messages() const {
    std::vector<std::string> texts;
    for (const auto& entry : entries()) texts.push_back(entry.message);
    return texts;
}

bool LogCapture::hasMessageContaining(const std::string& text) const {
    return std::ranges::any_of(messages(), [&](const std::string& message) {
        return message.find(text) != std::string::npos;
    });
}

std::string LogCapture::standardOutput() const {
    return output_ ? output_->contents() : "";
}

std::string LogCapture::standardError() const {
    return error_ ? error_->contents() : "";
}

std::vector<std::string> LogCapture::standardOutputLines() const {
    return splitLines(standardOutput());
}

std::vector<std::string> LogCapture::standardErrorLines() const {
    return splitLines(standardError());
}

void LogCapture::clear() {
    {
        std::lock_guard lock(state_->mutex);
        state_->entries.clear();
    }
    if (output_) output_->clear();
    if (error_) error_->clear();
}

}  // namespace zelvana::platform::testing
