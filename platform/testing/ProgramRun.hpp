#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zelvana::platform::testing {

// One run of a built program for the tests that drive the real process:
// started with arguments, standard output and error in a file (kept in
// order when programs it starts write there too), stopped or awaited with
// a bound. Real processes and real time; every wait is polled.
class ProgramRun {
public:
    // Standard error goes to `errors` when given, else with the output; the
    // program starts in `folder` when given, else in ours.
    ProgramRun(const std::filesystem::path& program, std::vector<std::string> arguments,
               std::filesystem::path output, std::optional<std::filesystem::path> errors = {},
               std::optional<std::filesystem::path> folder = {});
    // Kills the program when it has not ended.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // The wait status, once the program ended within `limit`.
    std::optional<int> waitForExit(std::chrono::milliseconds limit);
    void killNow();
    bool exitedCleanly() const;
    // All written to the output file so far, and to the errors file.
    std::string output() const;
    std::string errors() const;

private:
    std::filesystem::path output_;
    std::optional<std::filesystem::path> errors_;
    pid_t pid_ = 0;
    std::optional<int> status_;
};

}  // namespace zelvana::platform::testing
