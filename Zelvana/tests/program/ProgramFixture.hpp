#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/testing/ProgramRun.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::core::test {

namespace fs = std::filesystem;

const fs::path kProgram = fs::path(ZELVANA_APP_PATH) / "Contents/MacOS/Zelvana";
const fs::path kExamples = ZELVANA_EXAMPLES_DIR;

// How a run of the built program ended.
struct Ended {
    // The exit status; none when it had to be killed, minus the signal when
    // a signal ended it.
    std::optional<int> status;
    std::string output;
    std::string errors;

    std::vector<std::string> outputLines() const;
};

// The built program, run as a person runs it, in fresh XDG folders with its
// own working folder; standard input is no terminal.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() { fs::create_directories(workFolder()); }

    fs::path workFolder() const { return folders.path("work"); }
    fs::path write(const std::string& name, const std::string& text) const {
        const auto path = workFolder() / name;
        std::ofstream(path) << text;
        return path;
    }

    // Starts the program; wait() for its end.
    platform::testing::ProgramRun& start(std::vector<std::string> arguments) {
        const auto number = std::to_string(runs_.size());
        runs_.push_back(std::make_unique<platform::testing::ProgramRun>(
            kProgram, std::move(arguments), workFolder() / ("out" + number + ".txt"),
            workFolder() / ("err" + number + ".txt"), workFolder()));
        return *runs_.back();
    }
    static Ended wait(platform::testing::ProgramRun& run,
                      std::chrono::seconds limit = std::chrono::seconds(90)) {
        Ended ended;
        if (const auto status = run.waitForExit(limit)) {
            ended.status = WIFEXITED(*status) ? WEXITSTATUS(*status) : -WTERMSIG(*status);
        }
        run.killNow();
        ended.output = run.output();
        ended.errors = run.errors();
        return ended;
    }
    Ended run(std::vector<std::string> arguments) { return wait(start(std::move(arguments))); }
    // On the example desktop, playing the script's lines.
    Ended play(const std::string& script) {
        return run({"--desktop", (kExamples / "desktop.json").string(), "--script",
                    write("test.script", script).string()});
    }

    platform::testing::TemporaryFolders folders;

private:
    std::vector<std::unique_ptr<platform::testing::ProgramRun>> runs_;
};

// Polls every 20 ms; false when `limit` passed first.
inline bool waitUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

inline std::vector<std::string> Ended::outputLines() const {
    std::vector<std::string> lines;
    std::istringstream text(output);
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

}  // namespace zelvana::core::test
