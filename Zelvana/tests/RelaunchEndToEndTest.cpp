// The relaunch across the two built programs: Zelvana wakes, starts its
// helper, quits on the helper's pong and is started again with "--relaunch".
// Real processes and real time: every wait is polled and bounded.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/appkit/RunningApplication.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/testing/TemporaryFolders.hpp"

extern char** environ;

namespace zelvana::core::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const fs::path kProgram = fs::path(ZELVANA_APP_PATH) / "Contents/MacOS/Zelvana";

std::vector<std::string> commandLine(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/cmdline");
    std::vector<std::string> arguments;
    std::string argument;
    while (std::getline(file, argument, '\0')) arguments.push_back(argument);
    return arguments;
}

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

class RelaunchEndToEndTest : public ::testing::Test {
protected:
    ~RelaunchEndToEndTest() override {
        // The helper and a relaunched Zelvana are nobody's children here.
        for (const pid_t pid : seen_) ::kill(pid, SIGKILL);
        if (child_ > 0 && !childExited_) ::waitpid(child_, nullptr, 0);
    }

    // Gestures on, relaunch on wake chosen, 1.9 s that the helper gets as 1.
    void prepareSettings() const {
        platform::UserDefaults preferences("com.quorrim.Zelvana");
        preferences.set("gesture", 1);
        preferences.set("autoRestartOnWake", 1);
        preferences.set("restartOnWakeDelay", 1.9);
        ASSERT_TRUE(preferences.synchronize());
    }

    // Zelvana with the script; all three programs write to one output file.
    void startZelvana(const std::string& script) {
        const fs::path scriptFile = folders_.path("wake.script");
        std::ofstream(scriptFile) << script;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output_.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        std::string program = kProgram.string();
        std::string option = "--script";
        std::string file = scriptFile.string();
        char* argv[] = {program.data(), option.data(), file.data(), nullptr};
        const int failed = posix_spawn(&child_, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_EQ(failed, 0) << "cannot start " << program;
    }

    // Polls every 20 ms, noting the programs that show up on the way.
    bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        for (;;) {
            noteRunningPrograms();
            if (done()) return true;
            if (Clock::now() >= deadline) return false;
            std::this_thread::sleep_for(20ms);
        }
    }

    bool childHasExited() {
        if (!childExited_ && ::waitpid(child_, &childStatus_, WNOHANG) == child_) {
            childExited_ = true;
        }
        return childExited_;
    }

    // A Zelvana other than the one we started, launched with "--relaunch".
    bool relaunchedZelvanaSeen() const { return relaunched_ > 0; }

    std::string output() const {
        std::ifstream file(output_);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    bool printed(const std::string& text) const { return output().find(text) != std::string::npos; }

    int childStatus() const { return childStatus_; }

private:
    void noteRunningPrograms() {
        for (const auto& helper :
             platform::RunningApplication::runningApplications("com.quorrim.Zelvana-Helper")) {
            seen_.insert(helper.processIdentifier());
        }
        for (const auto& main :
             platform::RunningApplication::runningApplications("com.quorrim.Zelvana")) {
            const pid_t pid = main.processIdentifier();
            if (pid == child_) continue;
            seen_.insert(pid);
            if (contains(commandLine(pid), "--relaunch")) relaunched_ = pid;
        }
    }

    platform::testing::TemporaryFolders folders_;
    fs::path output_ = folders_.path("output.txt");
    pid_t child_ = 0;
    bool childExited_ = false;
    int childStatus_ = 0;
    pid_t relaunched_ = 0;
    std::set<pid_t> seen_;
};

TEST_F(RelaunchEndToEndTest, WakingRelaunchesZelvanaThroughTheHelper) {
    ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
    prepareSettings();
    // Without the helper's pong the script would keep Zelvana up for 20 s.
    startZelvana("wake\nwait 20000\n");

    ASSERT_TRUE(waitFor([&] { return childHasExited(); }, 10s))
        << "Zelvana did not quit on the pong:\n"
        << output();
    EXPECT_TRUE(WIFEXITED(childStatus()) && WEXITSTATUS(childStatus()) == 0) << output();
    // The helper logs through its own queue: its lines may land after Zelvana is gone.
    EXPECT_TRUE(waitFor([&] { return printed("Pong sent"); }, 5s)) << output();
    EXPECT_TRUE(waitFor([&] { return printed("Relaunching Zelvana app after seconds: 1"); }, 5s))
        << output();

    ASSERT_TRUE(waitFor([&] { return relaunchedZelvanaSeen(); }, 8s))
        << "no Zelvana with --relaunch:\n"
        << output();
    // The new Zelvana finds the helper still running and tells it to go.
    EXPECT_TRUE(waitFor([&] { return printed("Received terminate notification"); }, 5s))
        << output();
}

}  // namespace
}  // namespace zelvana::core::test
